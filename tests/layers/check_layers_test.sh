#!/usr/bin/env bash
# scripts/check-layers on a copy of src/: the tree as it is passes; one planted line that would
# let a window or the view write the park makes it fail and name the line.
#   check_layers_test.sh SOURCE_DIR WORK_DIR
set -uo pipefail
source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work/scripts"
cp "$source_dir/scripts/check-layers" "$work/scripts/"
cp -r "$source_dir/src" "$work/src"

failed=0
if ! bash "$work/scripts/check-layers" 2>"$work/clean.err"; then
    echo "the tree as it is was refused:"
    cat "$work/clean.err"
    failed=1
fi

# FILE, the line planted at its end, the text the check must name.
plant() {
    local file=$1 line=$2
    cp "$work/src/$file" "$work/saved"
    echo "$line" >>"$work/src/$file"
    local lines
    lines=$(wc -l <"$work/src/$file")
    if bash "$work/scripts/check-layers" 2>"$work/planted.err"; then
        echo "not caught: $file: $line"
        failed=1
    elif ! grep -q "src/$file:$lines:" "$work/planted.err"; then
        echo "caught without naming src/$file:$lines:"
        cat "$work/planted.err"
        failed=1
    fi
    cp "$work/saved" "$work/src/$file"
}
plant ui/menu_bar.h 'void SetCash(TSKIEngine &engine, int32_t cash);'
plant ui/stats_window.cpp 'static vallorn::TSKIParkData* parkSeen = nullptr;'
plant presentation/renderer.cpp 'static void Poke(const vallorn::TSKIEngine& e) { const_cast<vallorn::TSKIEngine&>(e).Park.ParkCash = 0; }'
plant presentation/scene_impl.h 'void Touch(TSKIWorld* world);'
plant ui/display_window.h 'void Toggle(const TSKIConstruction &tools);'

if [ "$failed" != 0 ]; then exit 1; fi
echo "check-layers catches every planted write from the view and the windows"
