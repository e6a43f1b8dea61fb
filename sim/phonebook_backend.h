#pragma once

#include "phonebook.grpc.pb.h"
#include "sim/scripted_backend.h"

namespace vanta::sim {

// The phone book's directory search.
class PhonebookBackend final : public vanta::phonebook::Phonebook::Service, public ScriptedBackend {
  public:
    VANTA_SCRIPTED_OPERATION(Search, vanta::phonebook::SearchRequest,
                             vanta::phonebook::SearchResponse)
};

}  // namespace vanta::sim
