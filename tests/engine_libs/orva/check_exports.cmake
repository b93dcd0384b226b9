# check_exports.cmake — orva.dll exports the names of the program's binding table and nothing
# else (no C++ library code that another library could bind to by accident).
#   cmake -DLIBRARY=<orva.dll> -DNM=<nm> -P check_exports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY} OUTPUT_VARIABLE symbols
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} could not read ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${symbols}")
foreach(line IN LISTS lines)
  if(NOT line MATCHES " T Orva_ASIO_[A-Za-z]+$")
    message(SEND_ERROR "unexpected export: ${line}")
  endif()
endforeach()
