#include "api/copy_fields_by_name.h"

#include <cstdint>

#include <google/protobuf/descriptor.h>

namespace vanta::api {
namespace {

using google::protobuf::FieldDescriptor;
using google::protobuf::Message;
using google::protobuf::Reflection;

enum class Kind { Integer, Real, Boolean, Text, Enumeration, Nested, Other };

Kind kind_of(const FieldDescriptor& field) {
    switch (field.cpp_type()) {
        case FieldDescriptor::CPPTYPE_INT32:
        case FieldDescriptor::CPPTYPE_INT64:
        case FieldDescriptor::CPPTYPE_UINT32:
        case FieldDescriptor::CPPTYPE_UINT64:
            return Kind::Integer;
        case FieldDescriptor::CPPTYPE_FLOAT:
        case FieldDescriptor::CPPTYPE_DOUBLE:
            return Kind::Real;
        case FieldDescriptor::CPPTYPE_BOOL:
            return Kind::Boolean;
        case FieldDescriptor::CPPTYPE_STRING:
            return Kind::Text;
        case FieldDescriptor::CPPTYPE_ENUM:
            return Kind::Enumeration;
        case FieldDescriptor::CPPTYPE_MESSAGE:
            return Kind::Nested;
    }
    return Kind::Other;
}

// One value of a field, singular (index < 0) or an element of a repeated one.
class FieldValue {
  public:
    FieldValue(const Message& message, const FieldDescriptor& field, int index)
        : message_(message), field_(field), reflection_(*message.GetReflection()), index_(index) {}

    std::uint64_t integer() const {
        switch (field_.cpp_type()) {
            case FieldDescriptor::CPPTYPE_INT32:
                return static_cast<std::uint64_t>(
                    index_ < 0 ? reflection_.GetInt32(message_, &field_)
                               : reflection_.GetRepeatedInt32(message_, &field_, index_));
            case FieldDescriptor::CPPTYPE_INT64:
                return static_cast<std::uint64_t>(
                    index_ < 0 ? reflection_.GetInt64(message_, &field_)
                               : reflection_.GetRepeatedInt64(message_, &field_, index_));
            case FieldDescriptor::CPPTYPE_UINT32:
                return index_ < 0 ? reflection_.GetUInt32(message_, &field_)
                                  : reflection_.GetRepeatedUInt32(message_, &field_, index_);
            default:
                return index_ < 0 ? reflection_.GetUInt64(message_, &field_)
                                  : reflection_.GetRepeatedUInt64(message_, &field_, index_);
        }
    }
    double real() const {
        if (field_.cpp_type() == FieldDescriptor::CPPTYPE_FLOAT) {
            return index_ < 0 ? reflection_.GetFloat(message_, &field_)
                              : reflection_.GetRepeatedFloat(message_, &field_, index_);
        }
        return index_ < 0 ? reflection_.GetDouble(message_, &field_)
                          : reflection_.GetRepeatedDouble(message_, &field_, index_);
    }
    bool boolean() const {
        return index_ < 0 ? reflection_.GetBool(message_, &field_)
                          : reflection_.GetRepeatedBool(message_, &field_, index_);
    }
    std::string text() const {
        return index_ < 0 ? reflection_.GetString(message_, &field_)
                          : reflection_.GetRepeatedString(message_, &field_, index_);
    }
    int enumeration() const {
        return index_ < 0 ? reflection_.GetEnumValue(message_, &field_)
                          : reflection_.GetRepeatedEnumValue(message_, &field_, index_);
    }
    const Message& nested() const {
        return index_ < 0 ? reflection_.GetMessage(message_, &field_)
                          : reflection_.GetRepeatedMessage(message_, &field_, index_);
    }

  private:
    const Message& message_;
    const FieldDescriptor& field_;
    const Reflection& reflection_;
    int index_;
};

void set_integer(Message& to, const FieldDescriptor& field, std::uint64_t value) {
    const Reflection& reflection = *to.GetReflection();
    const bool repeated = field.is_repeated();
    switch (field.cpp_type()) {
        case FieldDescriptor::CPPTYPE_INT32:
            repeated ? reflection.AddInt32(&to, &field, static_cast<std::int32_t>(value))
                     : reflection.SetInt32(&to, &field, static_cast<std::int32_t>(value));
            break;
        case FieldDescriptor::CPPTYPE_INT64:
            repeated ? reflection.AddInt64(&to, &field, static_cast<std::int64_t>(value))
                     : reflection.SetInt64(&to, &field, static_cast<std::int64_t>(value));
            break;
        case FieldDescriptor::CPPTYPE_UINT32:
            repeated ? reflection.AddUInt32(&to, &field, static_cast<std::uint32_t>(value))
                     : reflection.SetUInt32(&to, &field, static_cast<std::uint32_t>(value));
            break;
        default:
            repeated ? reflection.AddUInt64(&to, &field, value)
                     : reflection.SetUInt64(&to, &field, value);
            break;
    }
}

void set_real(Message& to, const FieldDescriptor& field, double value) {
    const Reflection& reflection = *to.GetReflection();
    if (field.cpp_type() == FieldDescriptor::CPPTYPE_FLOAT) {
        field.is_repeated() ? reflection.AddFloat(&to, &field, static_cast<float>(value))
                            : reflection.SetFloat(&to, &field, static_cast<float>(value));
    } else {
        field.is_repeated() ? reflection.AddDouble(&to, &field, value)
                            : reflection.SetDouble(&to, &field, value);
    }
}

void copy_value(const FieldValue& value, Kind kind, Message& to, const FieldDescriptor& target) {
    const Reflection& reflection = *to.GetReflection();
    const bool repeated = target.is_repeated();
    switch (kind) {
        case Kind::Integer:
            set_integer(to, target, value.integer());
            break;
        case Kind::Real:
            set_real(to, target, value.real());
            break;
        case Kind::Boolean:
            repeated ? reflection.AddBool(&to, &target, value.boolean())
                     : reflection.SetBool(&to, &target, value.boolean());
            break;
        case Kind::Text:
            repeated ? reflection.AddString(&to, &target, value.text())
                     : reflection.SetString(&to, &target, value.text());
            break;
        case Kind::Enumeration: {
            const int number = value.enumeration();
            const int kept = target.enum_type()->FindValueByNumber(number) != nullptr
                                 ? number
                                 : target.default_value_enum()->number();
            repeated ? reflection.AddEnumValue(&to, &target, kept)
                     : reflection.SetEnumValue(&to, &target, kept);
            break;
        }
        case Kind::Nested:
            copy_fields_by_name(value.nested(), repeated
                                                    ? *reflection.AddMessage(&to, &target)
                                                    : *reflection.MutableMessage(&to, &target));
            break;
        case Kind::Other:
            break;
    }
}

}  // namespace

void copy_fields_by_name(const Message& from, Message& to) {
    const Reflection& source_reflection = *from.GetReflection();
    const auto* target_type = to.GetDescriptor();
    for (int i = 0; i < target_type->field_count(); ++i) {
        const FieldDescriptor& target = *target_type->field(i);
        const FieldDescriptor* source = from.GetDescriptor()->FindFieldByName(target.name());
        if (source == nullptr || source->is_repeated() != target.is_repeated() ||
            source->is_map() || target.is_map()) {
            continue;
        }
        const Kind kind = kind_of(*source);
        if (kind != kind_of(target) || kind == Kind::Other) {
            continue;
        }
        if (source->is_repeated()) {
            to.GetReflection()->ClearField(&to, &target);
            for (int n = 0; n < source_reflection.FieldSize(from, source); ++n) {
                copy_value(FieldValue(from, *source, n), kind, to, target);
            }
        } else if (kind != Kind::Nested || source_reflection.HasField(from, source)) {
            copy_value(FieldValue(from, *source, -1), kind, to, target);
        }
    }
}

}  // namespace vanta::api
