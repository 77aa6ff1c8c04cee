#!/usr/bin/env bash
# Every class package of the demo program folder passes `ovtool check`.
#   check-demo.sh OVTOOL HOME
set -uo pipefail
ovtool=$1
home=$2
status=0
count=0
for package in "$home"/Resources/*.ovpk; do
  [[ -f "$package" ]] || continue
  count=$((count + 1))
  "$ovtool" check "$package" || { echo "check-demo: findings in $package" >&2; status=1; }
done
if [[ $count -lt 4 ]]; then
  echo "check-demo: expected at least four lessons in $home/Resources, found $count" >&2
  status=1
fi
exit $status
