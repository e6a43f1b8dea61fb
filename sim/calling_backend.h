#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>
#include <grpcpp/grpcpp.h>

#include "calling.grpc.pb.h"
#include "sim/bounded_history.h"
#include "sim/delayed_steps.h"
#include "sim/event_streams.h"

namespace vanta::sim {

// The call-control backend.
//
// Unary operations: each call is written down (its request and the metadata
// it arrived with), waits the configured delay, then answers the status set
// with fail(), else the reply set with answer(), else what the backend does
// itself, else a default reply (status replies say success = true).
//
// What it does itself: it keeps the meetings. StartMeeting answers a new
// meeting (numbered from 1) that is DIALING and sends its call state; after
// the connect delay the meeting is CONNECTED: its call state, roster
// (participants), conference info and active speaker follow on the stream.
// LeaveMeeting, LeaveActiveMeeting (the newest meeting) and LeaveAllMeetings
// end meetings: each is DISCONNECTED on the stream and leaves the list
// (LeaveMeeting of a meeting it does not have answers success false; with
// nothing to leave the other two succeed). GetAllMeetings answers the list,
// AnyMeetings whether it has one.
//
// Subscribe streams the events given to publish() to every open stream and
// writes down what the client sent on each: "unsubscribe=true",
// "unsubscribe=false", then "half-close" (the client closed its side) or
// "cancelled" (the call was cancelled, for example by a server shutdown).
class CallingBackend final : public vanta::calling::Calling::Service {
  public:
    using Metadata = std::multimap<std::string, std::string>;

    CallingBackend();

    struct Call {
        std::string operation;
        std::shared_ptr<google::protobuf::Message> request;
        Metadata metadata;
    };

    // The next calls of `operation` answer `reply`.
    void answer(const std::string& operation, const google::protobuf::Message& reply) {
        std::shared_ptr<google::protobuf::Message> copy(reply.New());
        copy->CopyFrom(reply);
        std::lock_guard<std::mutex> lock(mutex_);
        replies_[operation] = copy;
    }
    // The next calls of `operation` answer `status`.
    void fail(const std::string& operation, const grpc::Status& status) {
        std::lock_guard<std::mutex> lock(mutex_);
        failures_[operation] = status;
    }
    // Every unary call waits `delay` before it answers.
    void set_delay(std::chrono::milliseconds delay) {
        std::lock_guard<std::mutex> lock(mutex_);
        delay_ = delay;
    }
    // How long a started meeting dials before it connects.
    void set_connect_delay(std::chrono::milliseconds delay) {
        std::lock_guard<std::mutex> lock(mutex_);
        connect_delay_ = delay;
    }

    std::vector<Call> calls() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_.entries();
    }
    // The requests of `operation`, in order.
    template <typename Request>
    std::vector<Request> requests(const std::string& operation) const {
        std::vector<Request> found;
        for (const Call& call : calls()) {
            if (call.operation == operation) {
                found.push_back(dynamic_cast<const Request&>(*call.request));
            }
        }
        return found;
    }

#define VANTA_SIM_CALLING_UNARY(Operation, Request, Reply)                                       \
    grpc::Status Operation(grpc::ServerContext* context, const vanta::calling::Request* request, \
                           vanta::calling::Reply* reply) override {                              \
        return serve(#Operation, *context, *request, *reply);                                    \
    }
    VANTA_SIM_CALLING_UNARY(StartMeeting, StartMeetingRequest, MeetingInfo)
    VANTA_SIM_CALLING_UNARY(JoinMeeting, JoinMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(HoldMeeting, HoldMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(ResumeMeeting, ResumeMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(StartTransferMeeting, StartTransferMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(CompleteTransferMeeting, CompleteTransferMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(DirectTransferMeeting, DirectTransferMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(CancelTransferMeeting, CancelTransferMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(StartConference, StartConferenceRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(CompleteConference, CompleteConferenceRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(CancelConference, CancelConferenceRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(ParkMeeting, ParkMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(DirectedParkMeeting, DirectedParkMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(RedialMeeting, RedialMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(ForwardAllMeetings, ForwardAllMeetingsRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(ConferenceList, ConferenceListRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(RemoveLastConferenceParticipant, RemoveLastConferenceParticipantRequest,
                            MeetingStatus)
    VANTA_SIM_CALLING_UNARY(ImmediateDivertMeeting, ImmediateDivertMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(JoinAcrossLines, JoinAcrossLinesRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(Callback, CallbackRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(ConferenceBarge, ConferenceBargeRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(DeclineMeeting, DeclineMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(LeaveMeeting, LeaveMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(LeaveAllMeetings, Empty, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(StopWirelessLocalShare, Empty, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(LeaveActiveMeeting, LeaveActiveMeetingRequest, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(ProvideLobbyAuthentication, LobbyAuthInfo, LobbyAuthStatus)
    VANTA_SIM_CALLING_UNARY(GetAllMeetings, Empty, MeetingList)
    VANTA_SIM_CALLING_UNARY(AnyMeetings, Empty, MeetingStatus)
    VANTA_SIM_CALLING_UNARY(GetAudioStatistics, MeetingInfo, AudioStatistics)
    VANTA_SIM_CALLING_UNARY(GetShareRxStatistics, MeetingInfo, ShareRxStatistics)
    VANTA_SIM_CALLING_UNARY(GetContentAudioStatistics, MeetingInfo, AudioStatistics)
    VANTA_SIM_CALLING_UNARY(GetShareTxStatistics, MeetingInfo, ShareTxStatistics)
    VANTA_SIM_CALLING_UNARY(GetVideoStatistics, MeetingInfo, VideoStatistics)
    VANTA_SIM_CALLING_UNARY(GetShareDirection, MeetingId, ShareDirectionResponse)
    VANTA_SIM_CALLING_UNARY(ListCallingLines, Empty, CallingLines)
    VANTA_SIM_CALLING_UNARY(StartCallShare, StartCallShareRequest, RequestStatus)
    VANTA_SIM_CALLING_UNARY(StopCallShare, StopCallShareRequest, RequestStatus)
    VANTA_SIM_CALLING_UNARY(GetLastDialString, Empty, LastDialString)
    VANTA_SIM_CALLING_UNARY(SendDigit, SendDigitRequest, RequestStatus)
    VANTA_SIM_CALLING_UNARY(SetShareEncodeParams, ShareEncodeParamRequest, RequestStatus)
    VANTA_SIM_CALLING_UNARY(StartRecording, MeetingId, RequestStatus)
    VANTA_SIM_CALLING_UNARY(StopRecording, MeetingId, RequestStatus)
    VANTA_SIM_CALLING_UNARY(PauseRecording, MeetingId, RequestStatus)
    VANTA_SIM_CALLING_UNARY(ResumeRecording, MeetingId, RequestStatus)
#undef VANTA_SIM_CALLING_UNARY

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vanta::calling::Event, vanta::calling::SubscriptionRequest>*
            stream) override {
        return streams_.serve(context, stream);
    }

    // Sends `event` on every open stream.
    void publish(const vanta::calling::Event& event) {
        streams_.publish(event);
    }
    // Ends every open stream from the backend's side.
    void close_streams() {
        streams_.close_streams();
    }
    int opened() const {
        return streams_.opened();
    }
    size_t open_streams() const {
        return streams_.open_streams();
    }
    std::vector<std::string> journal() const {
        return streams_.journal();
    }
    bool wait_for_opened(int count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return streams_.wait_for_opened(count, limit);
    }
    bool wait_for_open_streams(size_t count,
                               std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return streams_.wait_for_open_streams(count, limit);
    }
    bool wait_for_journal(size_t entries,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        return streams_.wait_for_journal(entries, limit);
    }

  private:
    grpc::Status serve(const char* operation, const grpc::ServerContext& context,
                       const google::protobuf::Message& request, google::protobuf::Message& reply) {
        std::chrono::milliseconds delay{0};
        {
            std::lock_guard<std::mutex> lock(mutex_);
            Call call{operation, std::shared_ptr<google::protobuf::Message>(request.New()), {}};
            call.request->CopyFrom(request);
            for (const auto& [key, value] : context.client_metadata()) {
                call.metadata.emplace(std::string(key.data(), key.size()),
                                      std::string(value.data(), value.size()));
            }
            calls_.add(std::move(call));
            delay = delay_;
        }
        std::this_thread::sleep_for(delay);
        std::lock_guard<std::mutex> lock(mutex_);
        const auto failure = failures_.find(operation);
        if (failure != failures_.end()) {
            return failure->second;
        }
        const auto configured = replies_.find(operation);
        if (configured != replies_.end()) {
            reply.CopyFrom(*configured->second);
            return grpc::Status::OK;
        }
        const auto behaviour = behaviours_.find(operation);
        if (behaviour != behaviours_.end()) {
            return behaviour->second(request, reply);
        }
        const auto* success = reply.GetDescriptor()->FindFieldByName("success");
        if (success != nullptr) {
            reply.GetReflection()->SetBool(&reply, success, true);
        }
        return grpc::Status::OK;
    }

    // The backend's own behaviours run with mutex_ held.
    using Behaviour = std::function<grpc::Status(const google::protobuf::Message& request,
                                                 google::protobuf::Message& reply)>;
    template <typename Request, typename Reply>
    void behave(const std::string& operation,
                grpc::Status (CallingBackend::*behaviour)(const Request&, Reply&)) {
        behaviours_[operation] = [this, behaviour](const google::protobuf::Message& request,
                                                   google::protobuf::Message& reply) {
            return (this->*behaviour)(static_cast<const Request&>(request),
                                      static_cast<Reply&>(reply));
        };
    }
    grpc::Status start_meeting(const vanta::calling::StartMeetingRequest& request,
                               vanta::calling::MeetingInfo& meeting);
    grpc::Status leave_meeting(const vanta::calling::LeaveMeetingRequest& request,
                               vanta::calling::MeetingStatus& status);
    grpc::Status leave_active_meeting(const vanta::calling::LeaveActiveMeetingRequest& request,
                                      vanta::calling::MeetingStatus& status);
    grpc::Status leave_all_meetings(const vanta::calling::Empty& request,
                                    vanta::calling::MeetingStatus& status);
    grpc::Status all_meetings(const vanta::calling::Empty& request,
                              vanta::calling::MeetingList& list);
    grpc::Status any_meetings(const vanta::calling::Empty& request,
                              vanta::calling::MeetingStatus& status);
    void connect(uint32_t meeting_id);
    // Ends meetings.begin() + index; REQUIRES: mutex_ held.
    void end_locked(size_t index);

    struct Meeting {
        vanta::calling::MeetingInfo info;
        vanta::calling::Method start_method = vanta::calling::kUnknown;
        int64_t start_time = 0;  // seconds since the epoch
        std::chrono::steady_clock::time_point connected_at;
    };
    // Sends the meeting's call state; REQUIRES: mutex_ held.
    void publish_state_locked(const Meeting& meeting,
                              vanta::calling::CallState::Disposition disposition,
                              int64_t duration_seconds = 0);

    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<google::protobuf::Message>> replies_;
    std::map<std::string, grpc::Status> failures_;
    std::map<std::string, Behaviour> behaviours_;
    std::chrono::milliseconds delay_{0};
    std::chrono::milliseconds connect_delay_{500};
    BoundedHistory<Call> calls_;
    std::vector<Meeting> meetings_;
    uint32_t next_meeting_id_ = 1;
    EventStreams<vanta::calling::Event, vanta::calling::SubscriptionRequest> streams_;
    DelayedSteps later_;
};

}  // namespace vanta::sim
