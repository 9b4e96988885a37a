# Qt Test executables of the forms, run offscreen on a pinned screen.
#   termix54_eseguibile_test_qt(nome sources...)   the executable
#   termix54_test_qt(NAME nome LARGHEZZA 640 ALTEZZA 480 [SCALA 2] [ARGS ...])
# registers it as the ctest `nome_LARGHEZZAxALTEZZA` (plus `_scalaN`) with its
# own offscreen screen of that logical size times the scale.
include_guard(GLOBAL)

function(termix54_eseguibile_test_qt nome)
  add_executable(${nome} ${ARGN})
  target_link_libraries(${nome} PRIVATE termix54_forms Qt6::Test)
  target_include_directories(${nome} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
endfunction()

function(termix54_test_qt)
  cmake_parse_arguments(T "" "NAME;LARGHEZZA;ALTEZZA;SCALA" "ARGS" ${ARGN})
  set(schermo "${T_LARGHEZZA}x${T_ALTEZZA}")
  set(json "${CMAKE_CURRENT_BINARY_DIR}/schermo_${schermo}.json")
  file(WRITE "${json}"
    "{ \"synchronousWindowSystemEvents\": false, \"windowFrameMargins\": false,\n"
    "  \"screens\": [ { \"name\": \"Schermo\", \"x\": 0, \"y\": 0,\n"
    "    \"width\": ${T_LARGHEZZA}, \"height\": ${T_ALTEZZA}, \"logicalDpi\": 96, \"logicalBaseDpi\": 96 } ] }\n")
  set(nome_test "${T_NAME}_${schermo}")
  set(ambiente "QT_QPA_PLATFORM=offscreen:configfile=${json}" "LC_ALL=C.UTF-8")
  if(T_SCALA)
    string(APPEND nome_test "_scala${T_SCALA}")
    list(APPEND ambiente "QT_SCALE_FACTOR=${T_SCALA}")
  endif()
  add_test(NAME ${nome_test} COMMAND ${T_NAME} ${T_ARGS})
  set_tests_properties(${nome_test} PROPERTIES ENVIRONMENT "${ambiente}" TIMEOUT 120)
endfunction()
