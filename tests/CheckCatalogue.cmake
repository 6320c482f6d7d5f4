# Runs the extraction over the sources into a copy of the English catalogue and fails when
# a message lacks its English (a new or changed text) or is no longer in the sources.
# cmake -DLUPDATE=... -DSOURCES=<src folder> -DCATALOGUE=<.ts> -DWORK=<folder> -P CheckCatalogue.cmake
file(MAKE_DIRECTORY ${WORK})
set(copy ${WORK}/corvane_en.ts)
file(COPY_FILE ${CATALOGUE} ${copy})
execute_process(COMMAND ${LUPDATE} -silent -locations none -no-ui-lines ${SOURCES} -ts ${copy}
  RESULT_VARIABLE failed ERROR_VARIABLE warnings)
if(failed OR warnings)
  message(FATAL_ERROR "lupdate failed: ${warnings}")
endif()
file(READ ${copy} catalogue)
string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?<translation type=\"[a-z]+\""
  faults "${catalogue}")
if(faults)
  list(JOIN faults "\n" shown)
  message(FATAL_ERROR "Messages without English or gone from the sources (update with the "
    "update_translations target, then translate):\n${shown}")
endif()
