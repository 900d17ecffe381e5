list(APPEND KELMAR_SOURCES
  src/superposition/optgeom.cpp
)
