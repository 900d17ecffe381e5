list(APPEND KELMAR_SOURCES
  src/analysis/gasphase.cpp
  src/analysis/surfacemodes.cpp
  src/analysis/printout.cpp
)
