# Cross-builds for the device's 32-bit ARM (hard-float) with Debian's cross
# compiler and the armhf multiarch packages of every library
# (scripts/run-tests-armhf.sh installs both). Code generators (protoc,
# grpc_cpp_plugin) are the build machine's own; programs built here run under
# qemu-arm-static with the host root as library prefix.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)

set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
# GCC notes on every std::vector insert that the ARM calling convention for
# such arguments changed in GCC 7.1; everything here is built by one compiler.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)

# Libraries, headers and package configurations come from the armhf
# multiarch folders (/usr/lib/arm-linux-gnueabihf, found through
# CMAKE_LIBRARY_ARCHITECTURE); programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(PKG_CONFIG_EXECUTABLE arm-linux-gnueabihf-pkg-config CACHE FILEPATH "")

# The build machine's code generators: the armhf ones cannot run here.
set(Protobuf_PROTOC_EXECUTABLE /usr/bin/protoc CACHE FILEPATH "")
set(VANTA_GRPC_CPP_PLUGIN /usr/bin/grpc_cpp_plugin CACHE FILEPATH "")

find_program(VANTA_QEMU_ARM qemu-arm-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTA_QEMU_ARM} -L /)
