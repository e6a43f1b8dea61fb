#pragma once

#include <google/protobuf/message.h>

namespace vanta::api {

// Copies every field of `from` into the field of the same name of `to`, for
// the backend answers whose API message repeats the backend's fields (the
// statistics). Numbers are converted to the target's type (as static_cast
// does), enumerations keep their number when the target enumeration has it and
// take its default otherwise, messages are copied the same way field by field,
// repeated fields element by element. A field without a namesake of a
// compatible kind is left alone.
void copy_fields_by_name(const google::protobuf::Message& from, google::protobuf::Message& to);

}  // namespace vanta::api
