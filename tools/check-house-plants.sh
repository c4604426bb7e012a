#!/usr/bin/env bash
# Proves that tools/check-house.sh still sees what it is there to see: plants one fault of each kind into a
# copy of the tree and fails unless the check names every one of them.
set -euo pipefail
top=$(cd "${1:-$(dirname "$0")/..}" && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cd "$top"
git ls-files -z | xargs -0 cp --parents -t "$copy"
cd "$copy"
git init -q
mkdir -p playback/win32
cat >playback/Planted.h <<'EOF'
#pragma once
#include "playback/win32/ControlPanel.h"
#include "packages/PackageList.h"

namespace velmora {

struct PlantedRecord {
    int ResultCode = 0;
};

class PlantedCounter {
  public:
    int Count() const { return count; }

  private:
    int count = 0;
};

class ShellWin32 {};
class StatWindow {};
int g_Planted  =  0;

}  // namespace velmora
EOF
cat >playback/win32/PlantedIds.h <<'EOF'
#pragma once
namespace velmora::planted {

enum PlantedId : int { kIdPlanted = 1 };

}  // namespace velmora::planted
EOF
git add -A
out=$(bash "$top/tools/check-house.sh" . || true)
missing=0
for expect in 'Planted.h:2 includes "playback/win32/ControlPanel.h"' 'Planted.h:3 includes "packages/PackageList.h"' \
    'ResultCode = 0;  (variables and data members are camelCase)' \
    'int count = 0;  (private data members end in an underscore)' 'class ShellWin32' 'class StatWindow' \
    'g_Planted' 'PlantedIds.h:4:' 'Planted.h:21:  (not formatted'; do
    if ! grep -qF -- "$expect" <<<"$out"; then
        echo "the house check missed a planted fault: $expect"
        missing=1
    fi
done
exit $missing
