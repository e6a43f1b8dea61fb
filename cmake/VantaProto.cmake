# Generates C++ message and gRPC code from our schemas at build time, with the
# system's protoc and grpc_cpp_plugin, into one folder of the build tree.
# Schemas import each other by bare file name, so every schema folder is on
# protoc's search path.

find_program(VANTA_GRPC_CPP_PLUGIN grpc_cpp_plugin REQUIRED)

set(VANTA_PROTO_GEN_DIR ${CMAKE_BINARY_DIR}/gen)
set(VANTA_PROTO_DIRS
    ${PROJECT_SOURCE_DIR}/src/api/proto
    ${PROJECT_SOURCE_DIR}/src/clients/proto
    ${PROJECT_SOURCE_DIR}/src/gateway/proto
    ${PROJECT_SOURCE_DIR}/sim/proto
    ${PROJECT_SOURCE_DIR}/tests/proto)
file(MAKE_DIRECTORY ${VANTA_PROTO_GEN_DIR})

# vanta_proto_library(<name> PROTOS a.proto ... [DEPS other_proto_libs])
function(vanta_proto_library name)
    cmake_parse_arguments(ARG "" "" "PROTOS;DEPS" ${ARGN})
    set(include_args)
    foreach(dir ${VANTA_PROTO_DIRS})
        list(APPEND include_args -I${dir})
    endforeach()

    set(generated)
    foreach(proto ${ARG_PROTOS})
        get_filename_component(abs ${proto} ABSOLUTE)
        get_filename_component(stem ${proto} NAME_WE)
        # protoc's depfile names the gRPC source first; ninja matches a
        # depfile against the first output, so the order here must agree.
        set(out
            ${VANTA_PROTO_GEN_DIR}/${stem}.grpc.pb.cc ${VANTA_PROTO_GEN_DIR}/${stem}.grpc.pb.h
            ${VANTA_PROTO_GEN_DIR}/${stem}.pb.cc ${VANTA_PROTO_GEN_DIR}/${stem}.pb.h)
        add_custom_command(
            OUTPUT ${out}
            COMMAND protobuf::protoc ${include_args}
                --cpp_out=${VANTA_PROTO_GEN_DIR}
                --grpc_out=${VANTA_PROTO_GEN_DIR}
                --plugin=protoc-gen-grpc=${VANTA_GRPC_CPP_PLUGIN}
                --dependency_out=${VANTA_PROTO_GEN_DIR}/${stem}.d
                ${abs}
            DEPENDS ${abs} protobuf::protoc
            DEPFILE ${VANTA_PROTO_GEN_DIR}/${stem}.d
            COMMENT "Generating code for ${stem}.proto"
            VERBATIM)
        list(APPEND generated ${out})
    endforeach()

    add_library(${name} STATIC ${generated})
    # Generated code is not ours: no warning flags, and its headers are
    # included as system headers so they cannot trip -Werror in our code.
    # Optimised for size: it is most of the daemon's code (9.1 MB of text at
    # -O2, 6.9 MB at -Os), and the pages it touches at start-up are most of
    # the resident memory of an idle daemon (1.1 MiB less), at no speed cost
    # the request and fan-out benchmarks can measure.
    target_compile_options(${name} PRIVATE -w -Os)
    target_include_directories(${name} SYSTEM PUBLIC ${VANTA_PROTO_GEN_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} gRPC::grpc++ protobuf::libprotobuf)
endfunction()
