# Writes the application icon's images as C++ arrays for res/Icon.cpp.
#   cmake -DICON_DIR=<folder with quorlis.svg and quorlis-N.png> -DSIZES=16,32,... -DOUTPUT=<file> -P Embed.cmake

function(append_array name file)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
         "\\1\n" bytes "${bytes}")
  file(APPEND ${OUTPUT} "constexpr unsigned char ${name}[] = {\n${bytes}\n};\n")
endfunction()

string(REPLACE "," ";" sizes "${SIZES}")
file(WRITE ${OUTPUT} "// Generated from res/icons by Embed.cmake; do not edit.\n")
append_array(kQuorlisSvgData ${ICON_DIR}/quorlis.svg)
set(table "")
foreach(size ${sizes})
  append_array(kQuorlisPng${size} ${ICON_DIR}/quorlis-${size}.png)
  string(APPEND table "    {${size}, kQuorlisPng${size}},\n")
endforeach()
file(APPEND ${OUTPUT} "constexpr std::span<const unsigned char> kQuorlisSvg{kQuorlisSvgData};\n")
file(APPEND ${OUTPUT} "constexpr SIconImage kQuorlisPngs[] = {\n${table}};\n")
