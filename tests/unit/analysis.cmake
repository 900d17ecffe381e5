list(APPEND KELMAR_UNIT_TESTS
  unit/gasphase_test.cpp
  unit/surfacemodes_test.cpp
  unit/printout_test.cpp
)
