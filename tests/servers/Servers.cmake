# Host-side HTTP servers for the tests, as CTest fixtures. Include this file from a test
# folder, then:
#   tez_nginx_fixture(<fixture>)        nginx serving <build>/servers/<fixture>/www
#   tez_fault_server_fixture(<fixture>) the scripted fault server (faultserver.py)
#   set_tests_properties(<test> PROPERTIES FIXTURES_REQUIRED <fixture>)
# Each fixture keeps its ports, configuration, logs and pid in <build>/servers/<fixture>;
# test programs find them with TestServers.h (ServerDir, ServerPort, ...) and link
# tez_testservers.
set(TEZ_SERVERS_DIR ${CMAKE_CURRENT_LIST_DIR})

if(NOT TARGET tez_testservers)
  add_library(tez_testservers STATIC ${TEZ_SERVERS_DIR}/TestServers.cpp)
  target_link_libraries(tez_testservers PUBLIC tez_testmain)
endif()

function(tez_nginx_fixture fixture)
  set(dir ${CMAKE_BINARY_DIR}/servers/${fixture})
  add_test(NAME ${fixture}_start COMMAND bash ${TEZ_SERVERS_DIR}/nginx.sh start ${dir} 0 ${dir}/www)
  add_test(NAME ${fixture}_stop COMMAND bash ${TEZ_SERVERS_DIR}/nginx.sh stop ${dir})
  set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture} TIMEOUT 30)
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture} TIMEOUT 30)
endfunction()

function(tez_fault_server_fixture fixture)
  set(dir ${CMAKE_BINARY_DIR}/servers/${fixture})
  add_test(NAME ${fixture}_start COMMAND bash ${TEZ_SERVERS_DIR}/faultserver.sh start ${dir})
  add_test(NAME ${fixture}_stop COMMAND bash ${TEZ_SERVERS_DIR}/faultserver.sh stop ${dir})
  set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture} TIMEOUT 30)
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture} TIMEOUT 30)
endfunction()
