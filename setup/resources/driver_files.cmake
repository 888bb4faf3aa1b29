# Staging of the driver files the setup tool carries or ships beside it.
#
# The printer descriptions (APLWMGS1.PPD, the GPD files) are ours and come
# from this folder. Everything else belongs to the operating system's maker
# (the PostScript and Unidrv driver binaries) or to the raster driver package
# (its plug-in files), and never enters the repository: the build takes each
# one from a folder given at configure time and, when the folder lacks it,
# writes a stand-in in its place, so that the tests under Wine (whose own
# drivers use only the printer description) can run. A stand-in is a small
# text file that starts with the line "TOLVANE STAND-IN" followed by a line
# with the name of the file it stands for; the setup tool never copies one
# over an existing file.
#
# Every file is staged under its canonical name (a real file may have another
# letter case in its folder), so the lists handed on name the staged copies.

set(TOLVANE_STAND_IN_MARKER "TOLVANE STAND-IN")

# What each file of others is, for the stand-in's text.
set(_tolvane_about_APLWMGS1.BPD "the precompiled form of APLWMGS1.PPD that the PostScript driver makes")
set(_tolvane_about_PSCRIPT5.DLL "the PostScript printer driver of the operating system")
set(_tolvane_about_PS5UI.DLL "the user interface of the PostScript printer driver")
set(_tolvane_about_PSCRIPT.HLP "the help file of the PostScript printer driver")
set(_tolvane_about_UNIDRV.dll "the Unidrv printer driver of the operating system")
set(_tolvane_about_UNIDRVUI.dll "the user interface of the Unidrv printer driver")
set(_tolvane_about_UNIRES.DLL "the resources of the Unidrv printer driver")
set(_tolvane_about_STDNAMES.GPD "the standard names of the Unidrv printer descriptions")
set(_tolvane_about_UNIDRV.HLP "the help file of the Unidrv printer driver")
set(_tolvane_about_TessaryUi.dll "the user-interface plug-in of the raster driver package")
set(_tolvane_about_TessaryUi.INI "the plug-in list of the raster driver package")
set(_tolvane_about_TessaryUni.dll "the render plug-in of the raster driver package")
set(_tolvane_about_TessarySys.dll "the raster back end of the raster driver package")
set(_tolvane_about_PellmarkUi.dll "the user-interface plug-in of the older raster driver package")
set(_tolvane_about_PellmarkUi.INI "the plug-in list of the older raster driver package")
set(_tolvane_about_PellmarkUni.dll "the render plug-in of the older raster driver package")

# _tolvane_find_nocase(OUT DIR NAME [DIRECTORY]): the entry of DIR whose name
# equals NAME without regard to case (Windows file names), or "" when DIR is
# empty, missing or has none.
function(_tolvane_find_nocase out dir name)
  set(found "")
  if(NOT "${dir}" STREQUAL "" AND IS_DIRECTORY "${dir}")
    file(GLOB entries LIST_DIRECTORIES true "${dir}/*")
    string(TOLOWER "${name}" wanted)
    foreach(entry ${entries})
      get_filename_component(entryName "${entry}" NAME)
      string(TOLOWER "${entryName}" entryLower)
      if(entryLower STREQUAL wanted)
        if(ARGN STREQUAL "DIRECTORY" AND IS_DIRECTORY "${entry}")
          set(found "${entry}")
        elseif(NOT ARGN STREQUAL "DIRECTORY" AND NOT IS_DIRECTORY "${entry}")
          set(found "${entry}")
        endif()
      endif()
    endforeach()
  endif()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# tolvane_stage_driver_files(OUT
#     STAGE dir            where the files are staged
#     FROM dir             the folder with the real files of others (may be "")
#     SETTING name         the cache variable that names FROM, for the messages
#     LABEL text           e.g. "PostScript driver x86"
#     FILES name...        the files in the order of the list handed on
#     OWN name path ...)   files of ours among FILES and where they are
# Sets OUT to the absolute paths of the staged files in the order of FILES
# and prints for each file of others whether the real one or a stand-in is used.
function(tolvane_stage_driver_files out)
  cmake_parse_arguments(S "" "STAGE;FROM;SETTING;LABEL" "FILES;OWN" ${ARGN})
  file(MAKE_DIRECTORY "${S_STAGE}")
  set(result "")
  set(real "")
  set(standIns "")
  foreach(name ${S_FILES})
    set(staged "${S_STAGE}/${name}")
    list(FIND S_OWN "${name}" ownIndex)
    if(ownIndex GREATER -1)
      math(EXPR pathIndex "${ownIndex} + 1")
      list(GET S_OWN ${pathIndex} ownPath)
      configure_file("${ownPath}" "${staged}" COPYONLY)
    else()
      _tolvane_find_nocase(source "${S_FROM}" "${name}")
      if(source)
        configure_file("${source}" "${staged}" COPYONLY)
        list(APPEND real "${name}")
      else()
        set(about "${_tolvane_about_${name}}")
        if(about STREQUAL "")
          message(FATAL_ERROR "no description of ${name} for its stand-in")
        endif()
        file(CONFIGURE OUTPUT "${staged}" NEWLINE_STYLE CRLF @ONLY CONTENT
"${TOLVANE_STAND_IN_MARKER}
${name}

This file only stands in for ${name} (${S_LABEL}),
${about}.
It is not part of the Tolvane sources, and the build was not given the real
one (${S_SETTING}). The setup tool never copies a stand-in over an
existing file.
")
        list(APPEND standIns "${name}")
      endif()
    endif()
    list(APPEND result "${staged}")
  endforeach()
  if(real)
    list(JOIN real ", " realText)
    message(STATUS "${S_LABEL}: real files from ${S_FROM}: ${realText}")
  endif()
  if(standIns)
    list(JOIN standIns ", " standInText)
    if("${S_FROM}" STREQUAL "")
      set(why "${S_SETTING} is not set")
    else()
      set(why "not in ${S_FROM}")
    endif()
    message(STATUS "${S_LABEL}: stand-ins (${why}): ${standInText}")
  endif()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()
