#!/bin/sh
# Fails when product code calls a string function that does not know the
# size of its destination, or allocates on the stack by a size from outside.
#   check-unsafe-calls.sh <source root>
root=${1:?source root}
cd "$root" || exit 2
hits=$(grep -rnE '\b(sprintf|vsprintf|strcpy|strcat|wsprintfA?|wvsprintfA?|lstrcpyA?|lstrcatA?|_alloca|alloca|gets)[[:space:]]*\(' \
  app scripts inventory removal sysutil shim --include='*.cpp' --include='*.c' --include='*.h' \
  | grep -vE '^[^:]+:[0-9]+:[[:space:]]*//')
if [ -n "$hits" ]; then
  echo "unbounded string or stack-allocation calls in product code:"
  echo "$hits"
  exit 1
fi
echo "no unbounded string or stack-allocation calls in product code"
