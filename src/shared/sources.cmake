list(APPEND KELMAR_SOURCES
  src/shared/projection.cpp
  src/shared/controlwords.cpp
  src/shared/numbers.cpp
  src/shared/instream.cpp
  src/shared/freeread.cpp
  src/shared/markerscan.cpp
  src/shared/plainline.cpp
  src/shared/descriptorbuf.cpp
  src/shared/output.cpp
  src/shared/runend.cpp
  src/shared/centre.cpp
  src/shared/rotation.cpp
  src/shared/elements.cpp
)
