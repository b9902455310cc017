# The faces beside title.ttf and text.ttf for the scripts those two lack
# (src/look.cpp says which language draws with which), in GAME_DIR/fonts. Each
# is cut to the characters its languages' catalogs use, made again whenever a
# catalog changes: it can never lack one, and the browser fetches little.
set(BRINEGRAB_CATALOG_DIR ${CMAKE_SOURCE_DIR}/po CACHE PATH "Where the LANG.po catalogs are")
file(GLOB CATALOGS CONFIGURE_DEPENDS ${BRINEGRAB_CATALOG_DIR}/*.po)
set(FONT_DIR ${GAME_DIR}/fonts)
set(OLD_STANDARD_FONT /usr/share/fonts/truetype/fonts-oldstandard/OldStandard-Bold.ttf)
set(NOTO_SANS_CJK_FONT /usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc)
set(NOTO_SERIF_CJK_FONT /usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc)
foreach(font ${OLD_STANDARD_FONT} ${NOTO_SANS_CJK_FONT} ${NOTO_SERIF_CJK_FONT})
  if(NOT EXISTS ${font})
    message(FATAL_ERROR "Font ${font} is missing: run ./play or ./test, which install it")
  endif()
endforeach()

set(FACES)
# NAME from face FONT_NUMBER of SOURCE (0 for a single font), for the catalogs
# of the LANGUAGES after it and their own names (OWN_NAMES, as the settings
# screen shows them).
function(subset_face name source number own_names)
  set(catalogs)
  set(catalog_depends)
  foreach(language ${ARGN})
    set(catalog ${BRINEGRAB_CATALOG_DIR}/${language}.po)
    list(APPEND catalogs ${catalog})
    if(EXISTS ${catalog})
      list(APPEND catalog_depends ${catalog})
    endif()
  endforeach()
  string(REPLACE ";" " " languages "${ARGN}")
  add_custom_command(
    OUTPUT ${FONT_DIR}/${name}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FONT_DIR}
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/fonts/subset.py ${source} ${number}
            ${FONT_DIR}/${name} ${own_names} ${catalogs}
    DEPENDS ${CMAKE_SOURCE_DIR}/fonts/subset.py ${catalog_depends}
    COMMENT "Cutting ${name} to the characters of ${languages}"
    VERBATIM)
  set(FACES ${FACES} ${FONT_DIR}/${name} PARENT_SCOPE)
endfunction()
# The text face with room above its accented capitals, for every language
# but English (which keeps text.ttf exactly).
add_custom_command(
  OUTPUT ${FONT_DIR}/text-tall.otf
  COMMAND ${CMAKE_COMMAND} -E make_directory ${FONT_DIR}
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/fonts/tall_ascent.py ${TEXT_FONT}
          ${FONT_DIR}/text-tall.otf
  DEPENDS ${CMAKE_SOURCE_DIR}/fonts/tall_ascent.py
  COMMENT "Making text-tall.otf, the text face with room for its accents"
  VERBATIM)
list(APPEND FACES ${FONT_DIR}/text-tall.otf)
subset_face(old-standard-bold.ttf ${OLD_STANDARD_FONT} 0 "Polski Русский Українська" pl ru uk)
# Each collection's faces: 0 Japanese, 2 Simplified Chinese.
subset_face(noto-serif-cjk-jp-bold.otf ${NOTO_SERIF_CJK_FONT} 0 "日本語" ja)
subset_face(noto-sans-cjk-jp-bold.otf ${NOTO_SANS_CJK_FONT} 0 "日本語" ja)
subset_face(noto-serif-cjk-sc-bold.otf ${NOTO_SERIF_CJK_FONT} 2 "简体中文" zh_CN)
subset_face(noto-sans-cjk-sc-bold.otf ${NOTO_SANS_CJK_FONT} 2 "简体中文" zh_CN)
add_custom_target(faces ALL DEPENDS ${FACES})
