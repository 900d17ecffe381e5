list(APPEND KELMAR_SOURCES
  src/input/readfile.cpp
  src/input/countmodes.cpp
  src/input/input.cpp
  src/input/inputgaussian.cpp
  src/input/inputmolpro.cpp
  src/input/inputpolyrate.cpp
  src/input/inputvasp.cpp
  src/input/linearity.cpp
  src/input/loadingtail.cpp
  src/input/signature.cpp
  src/input/tablerows.cpp
  src/input/jobgeometry.cpp
)
