# The SQL data-source link (interface "ODBC"): route list, upload and
# download through the database objects of platform/ado.
add_library(wexal_conduit_sql STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SqlDownload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqlRouteList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqlSharedConnection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SqlUpload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WexalIfcOdbc.cpp)
wexal_headers(wexal_conduit_sql PUBLIC conduit)
target_link_libraries(wexal_conduit_sql PUBLIC wexal_ado wexal_conduit_handheld
                                               wexal_conduit_config wexal_conduit_text
                                               WexalMsgBox WexalLog)
