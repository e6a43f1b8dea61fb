#pragma once

#include "fakes/scripted_backend.h"
#include "phonebook.grpc.pb.h"

namespace vanta::testing {

// The phone book's directory search.
class FakePhonebook final : public vanta::phonebook::Phonebook::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(Search, vanta::phonebook::SearchRequest,
                             vanta::phonebook::SearchResponse)
};

}  // namespace vanta::testing
