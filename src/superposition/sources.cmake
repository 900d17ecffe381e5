list(APPEND KELMAR_SOURCES
  src/superposition/optgeom.cpp
  src/superposition/func.cpp
  src/superposition/powell.cpp
  src/superposition/linmin.cpp
)
