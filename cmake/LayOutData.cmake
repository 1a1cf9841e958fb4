# Runs the set-up tool only where the program directory has no Data/ yet; an existing Data/ only
# gets the report templates it lacks, and a template that is there (perhaps changed by the user)
# stays as it is.
if(NOT EXISTS "${PROGRAM_DIR}/Data")
  execute_process(COMMAND "${SETUP}" "${PROGRAM_DIR}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "kassenbuch-setup failed for ${PROGRAM_DIR}")
  endif()
else()
  execute_process(COMMAND "${SETUP}" --fehlende-vorlagen "${PROGRAM_DIR}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "kassenbuch-setup could not add the missing report templates to ${PROGRAM_DIR}/Data")
  endif()
endif()
