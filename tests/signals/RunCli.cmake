# Runs `CLI ldf [OPTIONS] FILE` and checks its exit code (EXIT), the first
# line of its output, standard output and error together (FIRST_LINE), and,
# when given, that the output holds the line CONTAINS.
separate_arguments(options UNIX_COMMAND "${OPTIONS}")
execute_process(COMMAND ${CLI} ldf ${options} ${FILE}
  RESULT_VARIABLE exit_code OUTPUT_VARIABLE output ERROR_VARIABLE output)
string(FIND "${output}" "\n" line_end)
string(SUBSTRING "${output}" 0 ${line_end} first_line)
if(NOT exit_code STREQUAL EXIT)
  message(FATAL_ERROR "exit code ${exit_code}, expected ${EXIT}; output:\n${output}")
endif()
if(NOT first_line STREQUAL FIRST_LINE)
  message(FATAL_ERROR "first line '${first_line}', expected '${FIRST_LINE}'; output:\n${output}")
endif()
if(DEFINED CONTAINS)
  string(FIND "\n${output}" "\n${CONTAINS}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "no line '${CONTAINS}'; output:\n${output}")
  endif()
endif()
