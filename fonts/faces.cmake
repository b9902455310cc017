# The faces beside title.ttf and text.ttf for the scripts those two lack
# (src/look.cpp says which language draws with which), in GAME_DIR/fonts.
# The CJK faces are cut to the characters the catalogs use, made again
# whenever a catalog changes: they can never lack one.
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
configure_file(${OLD_STANDARD_FONT} ${FONT_DIR}/old-standard-bold.ttf COPYONLY)

set(FACES ${FONT_DIR}/old-standard-bold.ttf)
# NAME from face FONT_NUMBER of the collection SOURCE, for the catalog LANGUAGE
# and the language's own name (OWN_NAME, as the settings screen shows it).
function(subset_face name source number language own_name)
  set(catalog ${BRINEGRAB_CATALOG_DIR}/${language}.po)
  set(catalog_depends)
  if(EXISTS ${catalog})
    set(catalog_depends ${catalog})
  endif()
  add_custom_command(
    OUTPUT ${FONT_DIR}/${name}
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/fonts/subset.py ${source} ${number}
            ${FONT_DIR}/${name} ${own_name} ${catalog}
    DEPENDS ${CMAKE_SOURCE_DIR}/fonts/subset.py ${catalog_depends}
    COMMENT "Cutting ${name} to the characters of ${language}.po"
    VERBATIM)
  set(FACES ${FACES} ${FONT_DIR}/${name} PARENT_SCOPE)
endfunction()
# Each collection's faces: 0 Japanese, 2 Simplified Chinese.
subset_face(noto-serif-cjk-jp-bold.otf ${NOTO_SERIF_CJK_FONT} 0 ja "日本語")
subset_face(noto-sans-cjk-jp-bold.otf ${NOTO_SANS_CJK_FONT} 0 ja "日本語")
subset_face(noto-serif-cjk-sc-bold.otf ${NOTO_SERIF_CJK_FONT} 2 zh_CN "简体中文")
subset_face(noto-sans-cjk-sc-bold.otf ${NOTO_SANS_CJK_FONT} 2 zh_CN "简体中文")
add_custom_target(faces ALL DEPENDS ${FACES})
