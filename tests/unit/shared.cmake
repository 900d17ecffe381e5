list(APPEND KELMAR_UNIT_TESTS
  unit/numbers_test.cpp
  unit/controlwords_test.cpp
  unit/instream_test.cpp
  unit/freeread_test.cpp
  unit/markerscan_test.cpp
  unit/output_test.cpp
  unit/pause_test.cpp
  unit/geometry_test.cpp
  unit/elementdata_test.cpp
)
