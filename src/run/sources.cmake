list(APPEND KELMAR_SOURCES
  src/run/run.cpp
)
