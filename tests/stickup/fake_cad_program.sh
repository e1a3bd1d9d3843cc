#!/bin/sh
# Stands in for the CAD program in the stickup tests: records how it was
# started and the one key-in line it receives, in its working directory.
IFS= read -r keyin
{
  echo "args=$*"
  echo "argc=$#"
  echo "cwd=$(pwd)"
  echo "keyin=$keyin"
} > fake-cad-record.tmp
mv fake-cad-record.tmp fake-cad-record.txt
