# Compiles User.c for the PIC18F2620 into User.Hex. The build runs this file with /bin/sh in
# this folder, with the first line of BuildPath.Bat in front of PATH and its output in err.txt.
# kcc8 looks for the compilers beside the name it was started by, so it is started by its path.
KCC8=$(command -v kcc8) || { echo "kcc8 not found: the first line of BuildPath.Bat must name its folder"; exit 1; }
"$KCC8" -p18F2620 User.c
