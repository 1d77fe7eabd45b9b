# Runs `CLI ldf FILE` and checks its exit code (EXIT) and the first line of
# its output, standard output and error together (FIRST_LINE).
execute_process(COMMAND ${CLI} ldf ${FILE}
  RESULT_VARIABLE exit_code OUTPUT_VARIABLE output ERROR_VARIABLE output)
string(FIND "${output}" "\n" line_end)
string(SUBSTRING "${output}" 0 ${line_end} first_line)
if(NOT exit_code STREQUAL EXIT)
  message(FATAL_ERROR "exit code ${exit_code}, expected ${EXIT}; output:\n${output}")
endif()
if(NOT first_line STREQUAL FIRST_LINE)
  message(FATAL_ERROR "first line '${first_line}', expected '${FIRST_LINE}'; output:\n${output}")
endif()
