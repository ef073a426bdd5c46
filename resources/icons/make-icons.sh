#!/usr/bin/env bash
# Draws the tool-bar and tree icons, the application icon and the splash picture with
# ImageMagick's drawing primitives. The results are committed; run this only to change them.
# Every icon is drawn four times larger on a 24 (or 16) unit grid and scaled down, which gives
# clean anti-aliased edges at the small size.
set -euo pipefail
cd "$(dirname "$0")"
C=${CONVERT:-/usr/bin/convert}

NAVY='#1f3a5a'; AMBER='#e8a317'; PAPER='#f7f9fb'; GREY='#5a6b7d'; RED='#c0392b'; BLUE='#2c6fb7'
BOLD=DejaVu-Sans-Bold; SERIF_IT=DejaVu-Serif-Italic; SANS=DejaVu-Sans

# icon NAME SIZE MVG: draws MVG (coordinates on a SIZE grid) into NAME.png
icon() {
  local name=$1 size=$2 mvg=$3 big=$(( $2 * 4 ))
  "$C" -size ${big}x${big} xc:none -draw "scale 4,4 $mvg" \
       -filter Box -resize ${size}x${size} -depth 8 -strip "PNG32:$name.png"
}

page() { # a sheet with a folded corner, x y w h
  local x=$1 y=$2 w=$3 h=$4 f=4
  echo "fill $PAPER stroke $NAVY stroke-width 1.2 stroke-linejoin round
        polygon $x,$y $((x+w-f)),$y $((x+w)),$((y+f)) $((x+w)),$((y+h)) $x,$((y+h))
        fill none polyline $((x+w-f)),$y $((x+w-f)),$((y+f)) $((x+w)),$((y+f))"
}

lines() { # text lines inside a page: x y w count step
  local x=$1 y=$2 w=$3 n=$4 s=$5 out="stroke $GREY stroke-width 1.2" i
  for ((i = 0; i < n; i++)); do out+=" line $x,$((y + i*s)) $((x+w)),$((y + i*s))"; done
  echo "$out"
}

# ---- tool bar, 24 x 24 ----
icon new 24 "$(page 4 2 14 19) $(lines 7 9 8 3 3)
  fill $AMBER stroke none circle 18,18 18,13 fill $PAPER rectangle 17,15 19,21 rectangle 15,17 21,19"
icon open 24 "fill $AMBER stroke $NAVY stroke-width 1.2 stroke-linejoin round
  polygon 2,5 9,5 11,7 19,7 19,10 2,10 polygon 2,20 2,6 19,6 19,20
  fill #f6c75a polygon 2,20 6,11 23,11 19,20"
icon save 24 "fill $NAVY stroke $NAVY stroke-width 1.2 stroke-linejoin round
  polygon 3,3 18,3 21,6 21,21 3,21
  fill $PAPER stroke none rectangle 6,4 16,10 fill $NAVY rectangle 13,5 15,9
  fill $PAPER rectangle 6,14 18,21 stroke $GREY stroke-width 1 line 8,16.5 16,16.5 line 8,18.5 16,18.5"
icon print 24 "$(page 6 2 12 8)
  fill $GREY stroke $NAVY stroke-width 1.2 stroke-linejoin round roundrectangle 2,9 22,18 2,2
  fill $PAPER rectangle 6,15 18,22 $(lines 8 18 8 2 2)
  fill $AMBER stroke none circle 19,12 19,11"
icon copy 24 "$(page 3 2 12 15) $(page 9 7 12 15) $(lines 12 13 6 3 3)"
icon paste 24 "fill #c8a36a stroke $NAVY stroke-width 1.2 stroke-linejoin round roundrectangle 3,4 17,22 2,2
  fill $GREY roundrectangle 7,2 13,6 1,1 $(page 10 9 11 13) $(lines 12 14 6 3 3)"
icon cut 24 "fill none stroke $NAVY stroke-width 1.6 stroke-linecap round
  line 7,3 16,16 line 17,3 8,16
  stroke $RED stroke-width 1.6 fill $PAPER circle 7,18 7,14.8 circle 17,18 17,14.8"
icon delete 24 "stroke $RED stroke-width 3.2 stroke-linecap round line 5,5 19,19 line 19,5 5,19"
icon undo 24 "fill none stroke $BLUE stroke-width 2.4 stroke-linecap round
  line 7,9.5 14,9.5 ellipse 14,14.75 5.25,5.25 270,90 line 14,20 8,20
  fill $BLUE stroke none polygon 2,9.5 8,4 8,15"
icon redo 24 "fill none stroke $BLUE stroke-width 2.4 stroke-linecap round
  line 17,9.5 10,9.5 ellipse 10,14.75 5.25,5.25 90,270 line 10,20 16,20
  fill $BLUE stroke none polygon 22,9.5 16,4 16,15"
icon bold 24 "fill $NAVY stroke none font $BOLD font-size 19 text 5,19 'B'"
icon italic 24 "fill $NAVY stroke none font $SERIF_IT font-size 20 text 8,19 'I'"
icon underline 24 "fill $NAVY stroke none font $BOLD font-size 17 text 5.5,16.5 'U'
  stroke $AMBER stroke-width 2.2 line 4,20.5 20,20.5"
align() { # NAME then four x0,x1 pairs
  local name=$1; shift
  local mvg="stroke $NAVY stroke-width 2 stroke-linecap butt" y=5 pair
  for pair in "$@"; do mvg+=" line ${pair%,*},$y ${pair#*,},$y"; y=$((y + 4)); done
  icon "$name" 24 "$mvg"
}
align alignleft 3,21 3,15 3,21 3,13 3,18
align aligncenter 3,21 6,18 3,21 7,17 5,19
align alignright 3,21 9,21 3,21 11,21 6,21
align justify 3,21 3,21 3,21 3,21 3,14
icon help 24 "fill $BLUE stroke none circle 12,12 12,2
  fill #ffffff font $BOLD font-size 15 text 7.5,17.5 '?'"

# ---- tree, 16 x 16 ----
folder16() { # folder outline in the given colour
  echo "fill $1 stroke $NAVY stroke-width 1 stroke-linejoin round
        polygon 1,3 6,3 7.5,5 15,5 15,14 1,14"
}
icon tree-templates 16 "$(folder16 $AMBER) fill none stroke $NAVY stroke-width 1.3 stroke-linecap round
  stroke-linejoin round polyline 6,7.5 4,9.5 6,11.5 polyline 10,7.5 12,9.5 10,11.5"
icon tree-files 16 "$(folder16 '#9fb6cf') fill #3f8f4f stroke none polygon 4,13 7,8 9,11 10.5,9.5 13,13
  fill $AMBER circle 11.5,7.5 11.5,6.5"
icon tree-template 16 "fill $PAPER stroke $NAVY stroke-width 1 stroke-linejoin round
  polygon 3,1 10,1 13,4 13,15 3,15 fill none polyline 10,1 10,4 13,4
  stroke $BLUE stroke-width 1.1 polyline 7,7 5,9 7,11 polyline 9,7 11,9 9,11"
icon tree-file 16 "fill $PAPER stroke $NAVY stroke-width 1 stroke-linejoin round
  polygon 3,1 10,1 13,4 13,15 3,15 fill none polyline 10,1 10,4 13,4
  fill #3f8f4f stroke none polygon 4.5,13.5 7,9 8.5,11 9.5,10 11.5,13.5 fill $AMBER circle 9.5,7 9.5,6"

# ---- application icon, 256 x 256 (drawn at 1024) ----
app_mvg="fill $NAVY stroke none roundrectangle 8,8 248,248 44,44
  fill $AMBER roundrectangle 34,34 134,134 20,20
  fill $NAVY polygon 56,56 112,56 112,70 91,70 91,116 77,116 77,70 56,70
  fill $PAPER stroke none polygon 110,96 196,96 222,122 222,222 110,222
  fill #c9d6e3 polygon 196,96 196,122 222,122
  stroke $BLUE stroke-width 9 stroke-linecap round stroke-linejoin round fill none
  polyline 150,140 128,162 150,184 polyline 182,140 204,162 182,184
  stroke $AMBER line 172,132 160,192"
"$C" -size 1024x1024 xc:none -draw "scale 4,4 $app_mvg" -filter Lanczos -resize 256x256 \
     -depth 8 -strip PNG32:../kzpstudio.png

# The same picture as SVG for the scalable icon theme.
cat > ../kzpstudio.svg <<SVG
<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <rect x="8" y="8" width="240" height="240" rx="44" fill="$NAVY"/>
  <rect x="34" y="34" width="100" height="100" rx="20" fill="$AMBER"/>
  <polygon points="56,56 112,56 112,70 91,70 91,116 77,116 77,70 56,70" fill="$NAVY"/>
  <polygon points="110,96 196,96 222,122 222,222 110,222" fill="$PAPER"/>
  <polygon points="196,96 196,122 222,122" fill="#c9d6e3"/>
  <g fill="none" stroke-width="9" stroke-linecap="round" stroke-linejoin="round">
    <polyline points="150,140 128,162 150,184" stroke="$BLUE"/>
    <polyline points="182,140 204,162 182,184" stroke="$BLUE"/>
    <line x1="172" y1="132" x2="160" y2="192" stroke="$AMBER"/>
  </g>
</svg>
SVG

# ---- splash picture, 518 x 258 JPEG ----
"$C" -size 518x258 gradient:"#27476b"-"#142638" \
  -fill "#e8a317" -draw "rectangle 0,236 518,240" \
  -fill "#ffffff0a" -draw "circle 470,40 470,150" -draw "circle 520,200 520,260" \
  \( ../kzpstudio.png -resize 120x120 \) -geometry +34+58 -composite \
  -fill "#ffffff" -font $BOLD -pointsize 34 -annotate +176+112 "Tarvex" \
  -fill "#ffd56b" -font $SANS -pointsize 24 -annotate +176+146 "Template Studio" \
  -fill "#c9d6e3" -font $SANS -pointsize 12 -annotate +178+178 "Template-Packs für die Tarvex-Web-Mail gestalten" \
  -fill "#9fb6cf" -font $SANS -pointsize 11 -annotate +178+224 "Version 1.0" \
  -quality 90 -sampling-factor 4:2:0 -strip ../splash.jpg
