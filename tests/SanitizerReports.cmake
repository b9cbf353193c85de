# The folder where every process of the sanitizer run writes its reports.
# With CLEAR set: empties it before the tests. Otherwise: fails when any
# process left a report there, and shows each.
if(CLEAR)
  file(REMOVE_RECURSE "${REPORTS}")
  file(MAKE_DIRECTORY "${REPORTS}")
  return()
endif()
file(GLOB reports "${REPORTS}/*")
if(reports)
  foreach(report IN LISTS reports)
    file(READ "${report}" text)
    message("---- ${report}\n${text}")
  endforeach()
  list(LENGTH reports count)
  message(FATAL_ERROR "${count} sanitizer report(s) in ${REPORTS}")
endif()
