# The exports of GZIP.dll and the bytes of stdcall arguments each pops on i686:
# name, bytes, name, bytes, ...
set(GZIP_DLL_EXPORTS
  InitCompression 0
  DeInitCompression 0
  CreateCompression 8
  Compress 32
  Compress2 36
  ResetCompression 4
  DestroyCompression 4
  InitDecompression 0
  DeInitDecompression 0
  CreateDecompression 8
  Decompress 28
  ResetDecompression 4
  DestroyDecompression 4)

# Reads the export table of a PE file with objdump -p: the names in the order of the
# name table, and each one's RVA (hex, without 0x) in the same order.
function(gzip_dll_read_exports objdump dll out_names out_rvas)
  execute_process(COMMAND "${objdump}" -p "${dll}" OUTPUT_VARIABLE dump RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${objdump} -p ${dll} failed")
  endif()
  string(REPLACE ";" "\\;" dump "${dump}")
  string(REPLACE "\n" ";" lines "${dump}")
  set(section "")
  set(rva_of_index "")
  set(names "")
  set(index_of_name "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^Export Address Table -- ")
      set(section address)
    elseif(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
      set(section names)
    elseif(line STREQUAL "")
      set(section "")
    elseif(section STREQUAL "address" AND line MATCHES "^\t\\[ *([0-9]+)\\] \\+base\\[ *[0-9]+\\] +([0-9a-f]+) Export RVA")
      list(APPEND rva_of_index "${CMAKE_MATCH_1}=${CMAKE_MATCH_2}")
    elseif(section STREQUAL "names" AND line MATCHES "^\t\\[ *([0-9]+)\\] (.+)$")
      list(APPEND names "${CMAKE_MATCH_2}")
      list(APPEND index_of_name "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  set(rvas "")
  foreach(index IN LISTS index_of_name)
    set(rva "")
    foreach(entry IN LISTS rva_of_index)
      if(entry MATCHES "^${index}=(.+)$")
        set(rva "${CMAKE_MATCH_1}")
      endif()
    endforeach()
    if(rva STREQUAL "")
      message(FATAL_ERROR "${dll}: export name index ${index} has no address")
    endif()
    list(APPEND rvas "${rva}")
  endforeach()
  set(${out_names} "${names}" PARENT_SCOPE)
  set(${out_rvas} "${rvas}" PARENT_SCOPE)
endfunction()

# Stops with a message unless the export names are exactly the expected ones.
function(gzip_dll_require_exports dll names)
  set(expected "")
  set(listed "${GZIP_DLL_EXPORTS}")
  while(listed)
    list(POP_FRONT listed name bytes)
    list(APPEND expected "${name}")
  endwhile()
  list(SORT expected)
  set(actual "${names}")
  list(SORT actual)
  if(NOT actual STREQUAL expected)
    string(REPLACE ";" " " actual "${actual}")
    string(REPLACE ";" " " expected "${expected}")
    message(FATAL_ERROR "${dll} exports\n  ${actual}\nexpected exactly\n  ${expected}")
  endif()
endfunction()
