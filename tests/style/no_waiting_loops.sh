#!/usr/bin/env bash
# Fails when program sources pump events, sleep or block on a port.
set -u
hits=$(grep -rnE 'processEvents|QThread::(m|u)?sleep|\busleep\(|\bsleep\(|waitFor(ReadyRead|BytesWritten|Started|Finished)|\.exec\(\)|->exec\(\)' \
         "$@" --include='*.cpp' --include='*.h' \
       | grep -v 'src/platform/ui/qtdialogs.cpp' \
       | grep -vE 'return app(\.|->)exec\(\)')
if [ -n "$hits" ]; then
  echo "waiting loops or nested event loops in program sources:"
  echo "$hits"
  exit 1
fi
echo "no waiting loops"
