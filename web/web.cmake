# The browser build (included from the top CMakeLists.txt under emcmake).
#
# The pictures, sounds, music, tuning files and attract replays are the ones a
# native build generated (the generator is a native program): name that build
# with -DTW_NATIVE_BUILD=DIR. Everything lands in the build folder's `site/`,
# a static site: index.html, game.js, game.wasm and game.data.

set(TW_NATIVE_BUILD "" CACHE PATH "A native build folder whose generated data the page ships")
if(NOT EXISTS "${TW_NATIVE_BUILD}/textures")
  message(FATAL_ERROR "TW_NATIVE_BUILD (${TW_NATIVE_BUILD}) holds no generated data: build natively first")
endif()

set(TW_LABEL_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
if(NOT EXISTS ${TW_LABEL_FONT})
  message(FATAL_ERROR "${TW_LABEL_FONT} is missing (package fonts-dejavu-core)")
endif()

set(TW_SITE ${CMAKE_BINARY_DIR}/site)
set(TW_WEB_DATA ${CMAKE_BINARY_DIR}/web-data)

# What the page ships: the same folders an install does, the player's own
# files left out, plus the attract replays.
add_custom_target(tw_web_data
  COMMAND ${CMAKE_SOURCE_DIR}/web/stage-data.sh ${TW_NATIVE_BUILD} ${TW_WEB_DATA}
  BYPRODUCTS ${TW_WEB_DATA}/font.ini
  COMMENT "Staging the native build's data for the page"
  VERBATIM)

# SDL's audio needs these two JavaScript helpers, which emscripten 3.1.6 leaves
# out unless asked (the list goes in a file: CMake would hand a "$" to a shell).
file(WRITE ${CMAKE_BINARY_DIR}/web-library-funcs.json "[\"$autoResumeAudioContext\", \"$dynCall\"]")

set_target_properties(tumblewell PROPERTIES OUTPUT_NAME game SUFFIX ".js"
  RUNTIME_OUTPUT_DIRECTORY ${TW_SITE})
add_dependencies(tumblewell tw_web_data)
target_link_options(tumblewell PRIVATE
  -O2
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=64MB
  -sFORCE_FILESYSTEM=1
  -lidbfs.js
  "-sEXPORTED_RUNTIME_METHODS=[FS,UTF8ToString,ccall]"
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/web-library-funcs.json"
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/src/platform/web_pre.js"
  "SHELL:--preload-file ${TW_WEB_DATA}@/data"
  # The face the labels and the debug window are drawn with, where the game looks for it.
  "SHELL:--preload-file ${TW_LABEL_FONT}@${TW_LABEL_FONT}")
set_property(TARGET tumblewell APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/platform/web_pre.js ${TW_WEB_DATA}/font.ini)

# The page's icons, drawn by the native build's data generator (the same
# drawing as the desktop icons, at the sizes a web app manifest asks for).
set(TW_DATAGEN ${TW_NATIVE_BUILD}/tools/tw_datagen)
if(NOT EXISTS ${TW_DATAGEN})
  message(FATAL_ERROR "${TW_DATAGEN} is missing: build natively first")
endif()
set(TW_WEB_ICONS)
foreach(size 192 512)
  add_custom_command(OUTPUT ${TW_SITE}/icon-${size}.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TW_SITE}
    COMMAND ${TW_DATAGEN} --icon ${size} ${TW_SITE}/icon-${size}.png
    DEPENDS ${TW_DATAGEN}
    COMMENT "Drawing the page's ${size} px icon"
    VERBATIM)
  list(APPEND TW_WEB_ICONS ${TW_SITE}/icon-${size}.png)
endforeach()

# The page, its service worker and manifest, with the versions (hashes) and
# sizes of the game's files written in. Run after every build: it takes a
# moment and rewrites only what changed.
add_custom_target(tw_web_page ALL
  COMMAND python3 ${CMAKE_SOURCE_DIR}/web/stamp-site.py ${TW_SITE} ${CMAKE_SOURCE_DIR}/web
  DEPENDS ${TW_WEB_ICONS}
  COMMENT "Writing the page with its files' versions"
  VERBATIM)
add_dependencies(tw_web_page tumblewell)
