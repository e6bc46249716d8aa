# Sourced by the scripts: the one place that says where the build and the Wine prefix live and
# how Wine is started for this project.
RUVELTO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RUVELTO_BUILD=${RUVELTO_BUILD:-$RUVELTO_ROOT/build}
export WINEPREFIX=$RUVELTO_BUILD/wineprefix
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8
