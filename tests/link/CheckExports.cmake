# Fails unless the dynamic symbol table of LIBRARY defines exactly the 24
# link functions, the ordinal table and the virtual analyzer's control.
execute_process(COMMAND nm -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^ \n]+\n" names "${symbols}")
list(TRANSFORM names STRIP)
list(SORT names)
set(expected
  CheckUSB CloseUSB FrashErase FrashWrite InitUSB MemoryRead MemoryReadEx MemoryWrite
  MonitorRead MonitorStart MonitorStop TargetGo Uusbd_Check Uusbd_ClassRequest Uusbd_Close
  Uusbd_GetConfigurationDescriptor Uusbd_GetDeviceDescriptor Uusbd_GetStatusEndpoint
  Uusbd_Open Uusbd_OpenPipe Uusbd_Open_mask Uusbd_ResetDevice Uusbd_ResetPipe
  Uusbd_VendorRequest orlink_ordinal_table orlink_virtual_control)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exports of ${LIBRARY}:\n  ${names}\nexpected:\n  ${expected}")
endif()
