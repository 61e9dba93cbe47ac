# The SQL data-source link (interface "ODBC"): route list, upload and
# download through the database objects of platform/ado.
if(TARGET wexal_ado AND TARGET wexal_conduit_handheld)
  add_library(wexal_conduit_sql STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SqlDownload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SqlRouteList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SqlSharedConnection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SqlUpload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WexalIfcOdbc.cpp)
  target_include_directories(wexal_conduit_sql PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(wexal_conduit_sql PUBLIC wexal_ado wexal_conduit_handheld
                                                 wexal_conduit_config wexal_conduit_text
                                                 WexalMsgBox WexalLog)
endif()
