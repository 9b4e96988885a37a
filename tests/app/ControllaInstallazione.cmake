# Installs the build tree into an empty prefix and checks that every file a
# desktop needs is where it looks for it, and that the entry names them.
# Called with -DBUILD=... -DPREFISSO=... -DCON_PROGRAMMA=0|1 -DCON_BATCH=0|1.
file(REMOVE_RECURSE "${PREFISSO}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFISSO}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}${err}")
endif()

set(mancanti "")
set(attesi
    share/applications/termix54.desktop
    share/icons/hicolor/scalable/apps/termix54.svg
    share/icons/hicolor/48x48/apps/termix54.png)
set(eseguibili "")
if(CON_PROGRAMMA)
  list(APPEND eseguibili bin/termix54)
endif()
if(CON_BATCH)
  list(APPEND eseguibili bin/termix54-batch)
endif()
foreach(f IN LISTS attesi eseguibili)
  if(NOT EXISTS "${PREFISSO}/${f}" OR IS_DIRECTORY "${PREFISSO}/${f}")
    list(APPEND mancanti ${f})
  endif()
endforeach()
if(mancanti)
  message(FATAL_ERROR "not installed: ${mancanti}")
endif()

foreach(f IN LISTS eseguibili)
  execute_process(COMMAND test -x "${PREFISSO}/${f}" RESULT_VARIABLE x)
  if(NOT x EQUAL 0)
    message(FATAL_ERROR "${f} is not executable")
  endif()
endforeach()

# The entry must start the installed program and find the installed icon.
file(STRINGS "${PREFISSO}/share/applications/termix54.desktop" righe)
foreach(attesa "Exec=termix54" "Icon=termix54" "Type=Application")
  list(FIND righe "${attesa}" i)
  if(i EQUAL -1)
    message(FATAL_ERROR "desktop entry lacks ${attesa}")
  endif()
endforeach()

# The PNG icon really is 48 x 48: width and height are big-endian at bytes 16 and 20.
file(READ "${PREFISSO}/share/icons/hicolor/48x48/apps/termix54.png" testa LIMIT 24 HEX)
string(SUBSTRING "${testa}" 0 16 firma)
string(SUBSTRING "${testa}" 32 16 misure)
if(NOT firma STREQUAL "89504e470d0a1a0a" OR NOT misure STREQUAL "0000003000000030")
  message(FATAL_ERROR "48x48 icon is not a 48 x 48 PNG (${testa})")
endif()
message(STATUS "installed into ${PREFISSO}")
