#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs clang and its libFuzzer runtime for `make fuzz` when they are missing.
set -euo pipefail

if command -v clang++ >/dev/null 2>&1 &&
  echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
  clang++ -x c++ -fsanitize=fuzzer,address,undefined -o /dev/null - >/dev/null 2>&1; then
  exit 0
fi

echo "Installing clang and its libFuzzer runtime"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends clang libclang-rt-14-dev
