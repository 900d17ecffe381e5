list(APPEND KELMAR_UNIT_TESTS
  unit/powell_test.cpp
  unit/optgeom_test.cpp
)
