#!/ usr / bin / env bash
#Runs clang - tidy(.clang - tidy) over the project's sources, or over the files named, using the
#compile commands of a configured build folder(default : build).On two cores the whole tree
#takes a long while, so CI leaves it out; run it before sending larger changes.
#Usage : scripts / tidy.sh[-b BUILD_DIR][FILE...]
set - euo pipefail cd "$(dirname " $0 ")/.." build = build if["${1:-}" = "-b"];
then build = $2;
shift 2;
fi[-f "$build/compile_commands.json"] || {
    echo "configure $build first (make configure)" > &2;
    exit 2;
}
if
    [$ # - eq 0];
then mapfile - t files < < (git ls - files 'src/*.cpp' 'app/*.cpp' 'cli/*.cpp') else files =
    ("$@")fi run - clang - tidy - quiet - extra - arg = -Wno - unknown - warning - option
                                                        - p "$build" -
                                                        j "$(nproc)"
                                                          "${files[@]/#/$PWD/}"
