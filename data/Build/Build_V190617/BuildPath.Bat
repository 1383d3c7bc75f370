PATH=./bin:
# The line above is what a build puts in front of the search path of the tool chain it starts.
# A relative folder counts from this folder, where the build runs the compile batch file, so
# the sample works wherever the program folder lies. A real tool chain is named by its full
# path, for example PATH=/opt/pic18/bin:
