# Import libraries that load their DLL only when one of its functions is
# first called. The requesters (comdlg32, shell32 and, through them, ole32)
# and the media probe (avifil32) are not needed to show the window; loading
# them at start-up cost the program a fifth of its start-up time and several
# MB of memory under Wine.
#
# quorvel_delay_library(<name> <dll> <function>...): the library
# ${CMAKE_BINARY_DIR}/delay/lib<name>_delayed.a for the functions named.
function(quorvel_delay_library name dll)
  set(folder ${CMAKE_BINARY_DIR}/delay)
  file(MAKE_DIRECTORY ${folder})
  string(JOIN "\n" exports ${ARGN})
  file(WRITE ${folder}/${name}.def "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  execute_process(
    COMMAND ${CMAKE_DLLTOOL} --input-def ${folder}/${name}.def --dllname ${dll}
            --output-delaylib ${folder}/lib${name}_delayed.a
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "dlltool could not make the delayed import library of ${dll}")
  endif()
  set(${name}_DELAYED ${folder}/lib${name}_delayed.a PARENT_SCOPE)
endfunction()

quorvel_delay_library(comdlg32 comdlg32.dll CommDlgExtendedError GetOpenFileNameW GetSaveFileNameW)
quorvel_delay_library(shell32 shell32.dll DragFinish DragQueryFileW SHBrowseForFolderW
                      SHCreateItemFromParsingName SHGetPathFromIDListEx SHParseDisplayName)
quorvel_delay_library(ole32 ole32.dll CoCreateInstance CoInitializeEx CoTaskMemFree CoUninitialize)
quorvel_delay_library(avifil32 avifil32.dll AVIFileExit AVIFileGetStream AVIFileInit AVIFileOpenW
                      AVIFileRelease AVIStreamInfoW AVIStreamLength AVIStreamRelease)
