list(APPEND KELMAR_UNIT_TESTS
  unit/inputgaussian_test.cpp
  unit/loadingtail_test.cpp
)
