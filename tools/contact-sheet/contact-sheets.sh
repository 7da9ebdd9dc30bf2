#!/bin/bash
# Draws the two contact sheets of docs/ with vallorn-contact-sheet:
#  - figures-contact-sheet.png: the generated trees, the sky dome, the avatar's frames and tuck, a
#    skier of each kind in each pose (frame 5, each in another skin), and the pictures of the
#    family (billboards, leaves, shadow, atlas, icons, skins, skies, cube map);
#  - models-contact-sheet.png: every model of the build's data folder with its glass, the
#    high-detail ones above the low-detail ones.
#
#   tools/contact-sheet/contact-sheets.sh BUILD_FOLDER [OUT_FOLDER]
#
# OUT_FOLDER is docs/ by default. Needs ImageMagick. The figures are generated afresh into a
# temporary folder; the models are the build's (BUILD_FOLDER/data).
set -euo pipefail
build=$(realpath "$1")
docs=$(realpath -m "${2:-$(dirname "$0")/../../docs}")
mkdir -p "$docs"
sheet="$build/vallorn-contact-sheet"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$sheet" models "$build/data" "$work/high.png" --cell 180
"$sheet" models "$build/data" "$work/low.png" --cell 180 --low
convert "$work/high.png" "$work/low.png" -background white -append -depth 8 \
    "$docs/models-contact-sheet.png"
echo "$docs/models-contact-sheet.png"

out=$docs/figures-contact-sheet.png
data=$work/data
"$build/vallorn-datagen" --figures "$data"
cd "$data"
"$sheet" figures . "$work/m" treeA0.3DS treeA10.3DS treeA20.3DS treeA0.3DS=treeLeafWhite.tga:treeLeafGreen.tga \
    TreeLS.3DS TreeLG.3DS Dome.3DS AvatarSki.md2@0 AvatarSki.md2@5 AvatarWalk.md2@0 \
    AvatarWalk.md2@10 AvatarEgg.3ds
args=()
n=0
for kind in Skier Board SkierF; do
    for pose in Stand Sit Ski Injured SkiSlow Walk; do
        args+=("$kind/${pose}5.3DS=${kind}c0.jpg:${kind}c$(((n * 2) % 9)).jpg")
        n=$((n + 1))
    done
done
"$sheet" figures . "$work/s" "${args[@]}"

font=(-font DejaVu-Sans -pointsize 11 -background '#e8ecf0')
row=()
for f in treeA0 treeA10 treeA20 treeA0_treeLeafGreen TreeLS TreeLG Dome AvatarSki_0 AvatarSki_5 \
    AvatarWalk_0 AvatarWalk_10 AvatarEgg; do
    row+=(-label "${f/_treeLeafGreen/ green}" "$work/m/$f.png")
done
montage "${row[@]}" -tile 12x -geometry 150x180+3+3 "${font[@]}" "$work/row1.png"
row=()
for kind in Skier Board SkierF; do
    for pose in Stand Sit Ski Injured SkiSlow Walk; do
        f=$(ls "$work/s/$kind$pose"5_*.png)
        skin=$(basename "$f" .png)
        row+=(-label "$kind/$pose, ${skin##*_}" "$f")
    done
done
montage "${row[@]}" -tile 12x -geometry 150x180+3+3 "${font[@]}" "$work/row2.png"
row=()
for f in treeMask treeMaskL treeLeafWhite treeLeafGreen shadow; do
    convert "$f.tga" -auto-orient -background '#7d8fa3' -flatten "$work/$f.png"
    row+=(-label "$f.tga" "$work/$f.png")
done
for f in LTEX.jpg avatar.jpg lghtLift0.bmp lghtLift1.bmp lghtLift2.bmp lghtLift3.bmp \
    lghtLift4.bmp lghtLift5.bmp lghtLift6.bmp lghtBuilds.bmp lghtHouses.bmp Skierc0.jpg \
    Skierc1.jpg Skierc2.jpg Boardc3.jpg Boardc4.jpg SkierFc5.jpg SkierFc6.jpg Skierc7.jpg; do
    row+=(-label "$f" "$f")
done
montage "${row[@]}" -tile 12x -geometry 150x100+3+3 "${font[@]}" "$work/row3.png"
row=()
for n in 0 1 2 3 4 5; do row+=(-label "dome$n.jpg" "dome$n.jpg"); done
for f in left front right back top bottom; do row+=(-label "cm_$f.jpg" "cm_$f.jpg"); done
montage "${row[@]}" -tile 12x -geometry 150x75+3+3 "${font[@]}" "$work/row4.png"
convert "$work"/row{1,2,3,4}.png -background '#e8ecf0' -gravity center -append -depth 8 "$out"
echo "$out"
