# cmake -DSOURCE=FILE -DDESTINATION=FILE -P take_embedded_file.cmake
# Copies a file the setup tool embeds into the build folder, keeping the old
# copy (and its time) when nothing changed; stops with a clear message when the
# file is not there.
if(NOT EXISTS "${SOURCE}")
  message(FATAL_ERROR
    "The setup tool embeds the 64-bit port monitor, and ${SOURCE} does not exist.\n"
    "Build the x86_64 monitor first: scripts/build.sh win64 win32 (or cmake --preset win64 && "
    "cmake --build build/win64 --target monitor_dll), or point TOLVANE_CASKEL_DLL at a Caskel.dll.")
endif()
get_filename_component(folder "${DESTINATION}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${SOURCE}" "${DESTINATION}" ONLY_IF_DIFFERENT)
