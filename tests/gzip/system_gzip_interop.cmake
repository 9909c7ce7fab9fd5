# The 32-bit GZIP.dll against the system's gzip, each reading what the other wrote. The
# DLL side runs once under Wine (TOOL, gzip32_file_tool, loading DLL, through EMULATOR).
#   cmake -DEMULATOR=prog|arg -DTOOL=... -DDLL=... -DGZIP=... -DWORK=... -DBINARY_SAMPLE=... -P system_gzip_interop.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command}\nfailed (${result}): ${errors}")
  endif()
endfunction()

# Nothing, one byte, about 2 MB of text, a binary file; each with its level for the DLL.
file(WRITE "${WORK}/empty" "")
file(WRITE "${WORK}/one" "x")
execute_process(COMMAND seq 1 300000 OUTPUT_FILE "${WORK}/numbers")
file(COPY_FILE "${BINARY_SAMPLE}" "${WORK}/binary")
set(inputs empty 6 one 0 numbers 10 binary 1)

set(jobs "")
set(names "")
while(inputs)
  list(POP_FRONT inputs name level)
  list(APPEND names ${name})
  execute_process(COMMAND "${GZIP}" -c -9 "${WORK}/${name}" OUTPUT_FILE "${WORK}/${name}.by-gzip.gz" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip -c ${name} failed")
  endif()
  # Z: is the root of the Unix file system in a Wine prefix.
  list(APPEND jobs compress ${level} "Z:${WORK}/${name}" "Z:${WORK}/${name}.by-dll.gz"
       decompress "Z:${WORK}/${name}.by-gzip.gz" "Z:${WORK}/${name}.from-gzip")
endwhile()
run(${emulator} "${TOOL}" "${DLL}" ${jobs})

foreach(name IN LISTS names)
  execute_process(COMMAND "${GZIP}" -dc "${WORK}/${name}.by-dll.gz" OUTPUT_FILE "${WORK}/${name}.from-dll"
                  RESULT_VARIABLE result ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip cannot read what the DLL made of ${name}: ${errors}")
  endif()
  foreach(copy from-dll from-gzip)
    run("${CMAKE_COMMAND}" -E compare_files "${WORK}/${name}" "${WORK}/${name}.${copy}")
  endforeach()
endforeach()
message(STATUS "gzip reads the DLL's streams and the DLL reads gzip's: ${names}")
