#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
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

namespace vanta::testing {

// The call-control backend.
//
// Unary operations: each call is written down (its request and the metadata
// it arrived with), waits the configured delay, then answers the status set
// with fail(), else the reply set with answer(), else a default reply (status
// replies say success = true).
//
// Subscribe streams the events given to publish() to every open stream and
// writes down what the client sent on each: "unsubscribe=true",
// "unsubscribe=false", then "half-close" (the client closed its side) or
// "cancelled" (the call was cancelled, for example by a server shutdown).
class FakeCallingService final : public vanta::calling::Calling::Service {
  public:
    using Metadata = std::multimap<std::string, std::string>;

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

    std::vector<Call> calls() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
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

#define VANTA_FAKE_CALLING_UNARY(Operation, Request, Reply)                                      \
    grpc::Status Operation(grpc::ServerContext* context, const vanta::calling::Request* request, \
                           vanta::calling::Reply* reply) override {                              \
        return serve(#Operation, *context, *request, *reply);                                    \
    }
    VANTA_FAKE_CALLING_UNARY(StartMeeting, StartMeetingRequest, MeetingInfo)
    VANTA_FAKE_CALLING_UNARY(JoinMeeting, JoinMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(HoldMeeting, HoldMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(ResumeMeeting, ResumeMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(StartTransferMeeting, StartTransferMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(CompleteTransferMeeting, CompleteTransferMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(DirectTransferMeeting, DirectTransferMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(CancelTransferMeeting, CancelTransferMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(StartConference, StartConferenceRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(CompleteConference, CompleteConferenceRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(CancelConference, CancelConferenceRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(ParkMeeting, ParkMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(DirectedParkMeeting, DirectedParkMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(RedialMeeting, RedialMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(ForwardAllMeetings, ForwardAllMeetingsRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(ConferenceList, ConferenceListRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(RemoveLastConferenceParticipant,
                             RemoveLastConferenceParticipantRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(ImmediateDivertMeeting, ImmediateDivertMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(JoinAcrossLines, JoinAcrossLinesRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(Callback, CallbackRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(ConferenceBarge, ConferenceBargeRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(DeclineMeeting, DeclineMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(LeaveMeeting, LeaveMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(LeaveAllMeetings, Empty, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(StopWirelessLocalShare, Empty, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(LeaveActiveMeeting, LeaveActiveMeetingRequest, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(ProvideLobbyAuthentication, LobbyAuthInfo, LobbyAuthStatus)
    VANTA_FAKE_CALLING_UNARY(GetAllMeetings, Empty, MeetingList)
    VANTA_FAKE_CALLING_UNARY(AnyMeetings, Empty, MeetingStatus)
    VANTA_FAKE_CALLING_UNARY(GetAudioStatistics, MeetingInfo, AudioStatistics)
    VANTA_FAKE_CALLING_UNARY(GetShareRxStatistics, MeetingInfo, ShareRxStatistics)
    VANTA_FAKE_CALLING_UNARY(GetContentAudioStatistics, MeetingInfo, AudioStatistics)
    VANTA_FAKE_CALLING_UNARY(GetShareTxStatistics, MeetingInfo, ShareTxStatistics)
    VANTA_FAKE_CALLING_UNARY(GetVideoStatistics, MeetingInfo, VideoStatistics)
    VANTA_FAKE_CALLING_UNARY(GetShareDirection, MeetingId, ShareDirectionResponse)
    VANTA_FAKE_CALLING_UNARY(ListCallingLines, Empty, CallingLines)
    VANTA_FAKE_CALLING_UNARY(StartCallShare, StartCallShareRequest, RequestStatus)
    VANTA_FAKE_CALLING_UNARY(StopCallShare, StopCallShareRequest, RequestStatus)
    VANTA_FAKE_CALLING_UNARY(GetLastDialString, Empty, LastDialString)
    VANTA_FAKE_CALLING_UNARY(SendDigit, SendDigitRequest, RequestStatus)
    VANTA_FAKE_CALLING_UNARY(SetShareEncodeParams, ShareEncodeParamRequest, RequestStatus)
    VANTA_FAKE_CALLING_UNARY(StartRecording, MeetingId, RequestStatus)
    VANTA_FAKE_CALLING_UNARY(StopRecording, MeetingId, RequestStatus)
    VANTA_FAKE_CALLING_UNARY(PauseRecording, MeetingId, RequestStatus)
    VANTA_FAKE_CALLING_UNARY(ResumeRecording, MeetingId, RequestStatus)
#undef VANTA_FAKE_CALLING_UNARY

    grpc::Status Subscribe(
        grpc::ServerContext* context,
        grpc::ServerReaderWriter<vanta::calling::Event, vanta::calling::SubscriptionRequest>*
            stream) override {
        auto open = std::make_shared<OpenStream>();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            streams_.push_back(open);
            ++opened_;
            changed_.notify_all();
        }
        std::thread reader([this, context, stream, open] {
            vanta::calling::SubscriptionRequest request;
            while (stream->Read(&request)) {
                note(request.unsubscribe() ? "unsubscribe=true" : "unsubscribe=false");
            }
            const bool cancelled = context->IsCancelled();
            std::lock_guard<std::mutex> lock(mutex_);
            journal_.push_back(cancelled ? "cancelled" : "half-close");
            open->reader_done = true;
            changed_.notify_all();
        });
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait_for(lock, std::chrono::milliseconds(20), [&] {
                return !open->pending.empty() || open->reader_done || open->close;
            });
            while (!open->pending.empty()) {
                const vanta::calling::Event event = open->pending.front();
                open->pending.pop_front();
                lock.unlock();
                stream->Write(event);
                lock.lock();
            }
            if (open->reader_done || open->close || context->IsCancelled()) {
                break;
            }
        }
        const bool reader_done = open->reader_done;
        streams_.erase(std::find(streams_.begin(), streams_.end(), open));
        changed_.notify_all();
        lock.unlock();
        if (!reader_done) {
            // The backend ends the call while the client still reads and writes.
            context->TryCancel();
        }
        reader.join();
        return grpc::Status::OK;
    }

    // Sends `event` on every open stream.
    void publish(const vanta::calling::Event& event) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& open : streams_) {
            open->pending.push_back(event);
        }
        changed_.notify_all();
    }
    // Ends every open stream from the backend's side.
    void close_streams() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& open : streams_) {
            open->close = true;
        }
        changed_.notify_all();
    }

    int opened() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return opened_;
    }
    std::vector<std::string> journal() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return journal_;
    }
    // Bounded waits for what the service has seen.
    bool wait_for_opened(int count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return opened_ >= count; });
    }
    bool wait_for_journal(size_t entries,
                          std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return journal_.size() >= entries; });
    }

  private:
    struct OpenStream {
        std::deque<vanta::calling::Event> pending;
        bool reader_done = false;
        bool close = false;
    };

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
            calls_.push_back(std::move(call));
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
        const auto* success = reply.GetDescriptor()->FindFieldByName("success");
        if (success != nullptr) {
            reply.GetReflection()->SetBool(&reply, success, true);
        }
        return grpc::Status::OK;
    }

    void note(const std::string& entry) {
        std::lock_guard<std::mutex> lock(mutex_);
        journal_.push_back(entry);
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, std::shared_ptr<google::protobuf::Message>> replies_;
    std::map<std::string, grpc::Status> failures_;
    std::chrono::milliseconds delay_{0};
    std::vector<Call> calls_;
    std::vector<std::shared_ptr<OpenStream>> streams_;
    int opened_ = 0;
    std::vector<std::string> journal_;
};

}  // namespace vanta::testing
