list(APPEND KELMAR_UNIT_TESTS
  unit/readfile_test.cpp
  unit/inputgaussian_test.cpp
  unit/loadingtail_test.cpp
  unit/inputmolpro_test.cpp
  unit/inputpolyrate_test.cpp
  unit/inputvasp_test.cpp
  unit/jobgeometry_test.cpp
  unit/signature_test.cpp
  unit/linearity_test.cpp
)
