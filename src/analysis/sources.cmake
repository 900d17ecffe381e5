list(APPEND KELMAR_SOURCES
  src/analysis/unitmode.cpp
  src/analysis/gasphase.cpp
  src/analysis/surfacemodes.cpp
  src/analysis/printout.cpp
)
