# Runs the set-up tool only where the program directory has no Data/ yet.
if(NOT EXISTS "${PROGRAM_DIR}/Data")
  execute_process(COMMAND "${SETUP}" "${PROGRAM_DIR}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "kassenbuch-setup failed for ${PROGRAM_DIR}")
  endif()
endif()
