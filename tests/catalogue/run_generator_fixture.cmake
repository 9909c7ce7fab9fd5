# Runs the generator on a fixture that must fail, and checks what it says.
execute_process(
  COMMAND "${GENERATOR}" "${FIXTURE}/manifest.txt" "${FIXTURE}/texts" out_data.cpp out_sources.cpp
  RESULT_VARIABLE result
  ERROR_VARIABLE errors)
if(result EQUAL 0)
  message(FATAL_ERROR "the generator accepted the bad fixture")
endif()
foreach(expected "甲/丙.txt:2:1: TAB" "甲/多余.txt: used by no record")
  string(FIND "${errors}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected '${expected}' in:\n${errors}")
  endif()
endforeach()
if(EXISTS out_data.cpp)
  message(FATAL_ERROR "the generator wrote output for a bad fixture")
endif()
