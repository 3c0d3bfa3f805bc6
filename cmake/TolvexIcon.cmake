# The icon is drawn once, in icons/tolvex.svg; every PNG of it is rendered
# from that drawing at build time. rsvg-convert writes no time stamp, so the
# PNGs are the same bytes on every build.
include_guard(GLOBAL)
find_program(TOLVEX_RSVG_CONVERT rsvg-convert REQUIRED)
set(TOLVEX_ICON_SVG ${PROJECT_SOURCE_DIR}/icons/tolvex.svg)
# The drawing's background colour. A maskable icon fills its whole square with
# it, and the site uses it for the theme.
set(TOLVEX_ICON_BACKGROUND "#1d3b53")

# tolvex_icon_png(OUTPUT SIZE [MASKABLE]): the icon as a SIZE x SIZE PNG; a
# MASKABLE one has the background to the square's corners, for platforms that
# cut their own shape out of it (the drawing keeps to the central 80% circle).
function(tolvex_icon_png output size)
  cmake_parse_arguments(PARSE_ARGV 2 arg "MASKABLE" "" "")
  set(background)
  set(kind "")
  if(arg_MASKABLE)
    set(background --background-color=${TOLVEX_ICON_BACKGROUND})
    set(kind ", maskable")
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${TOLVEX_RSVG_CONVERT} ${background} --width=${size} --height=${size}
            --output=${output} ${TOLVEX_ICON_SVG}
    DEPENDS ${TOLVEX_ICON_SVG}
    COMMENT "Icon ${size} px${kind}"
    VERBATIM)
endfunction()
