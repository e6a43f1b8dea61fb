#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include <google/protobuf/descriptor.h>
#include <google/protobuf/message.h>

#include "rpc/client/grpc_client.h"
#include "rpc/client/grpc_client_bidi_stream_manager.h"
#include "rpc/client/grpc_observable_client_base.h"
#include "runtime/executor/executor.h"

namespace vanta {

// A GrpcClient whose backend streams `WireEvent`s over its `Subscribe` call;
// observers receive them as `Event`s through observed_event_handler(), which
// each backend client implements.
//
// Threading: SetObserver and RemoveObserver belong to the executor's thread
// (reconnection runs there too). Events and the end of a stream arrive on the
// stream manager's reader thread.
//
// REQUIRES: a derived client calls RemoveObserver() in its own destructor: the
// reader thread calls observed_event_handler() until the stream is closed.
template <typename Service, typename Interface, typename Req, typename WireEvent, typename Event>
class GrpcObservableClient : public GrpcClient<Service, Interface>,
                             public virtual GrpcObservableClientBase<Event> {
  public:
    using EventCallback = std::function<void(const Event&)>;
    using Callback = std::function<void()>;
    using StreamManager = GrpcClientBidiStreamManager<Req, WireEvent>;

    GrpcObservableClient(std::shared_ptr<GrpcClientChannel> channel, Executor& executor)
        : GrpcClient<Service, Interface>(std::move(channel)), executor_(&executor) {}
    GrpcObservableClient(const std::string& address, Executor& executor)
        : GrpcClient<Service, Interface>(address), executor_(&executor) {}
    ~GrpcObservableClient() override {
        observing_ = false;
        stream_manager_.reset();
    }

    void SetObserver(const EventCallback& on_event, const Callback& on_disconnect) override {
        const std::uint64_t subscription = ++subscription_;
        std::weak_ptr<char> alive = alive_;
        install_observer(
            on_event, on_disconnect, [this, alive, subscription, on_event, on_disconnect] {
                reconnect_after_stream_end(alive, subscription, on_event, on_disconnect);
            });
    }

    void SetObserver(const EventCallback& on_event, const Callback& on_disconnect,
                     const Callback& on_stream_end) override {
        ++subscription_;
        install_observer(on_event, on_disconnect, on_stream_end);
    }

    void RemoveObserver() override {
        observing_ = false;
        if (!stream_manager_) {
            return;
        }
        Req request;
        set_unsubscribe(request);
        stream_manager_->write(request);
        stream_manager_.reset();
    }

  protected:
    // Turns one wire event into calls of `on_event` (and of `on_disconnect`
    // where the backend's event says so). Runs on the stream's reader thread.
    virtual void observed_event_handler(const EventCallback& on_event,
                                        const Callback& on_disconnect, const WireEvent& event) = 0;

  private:
    void install_observer(const EventCallback& on_event, const Callback& on_disconnect,
                          const Callback& on_stream_end) {
        observing_ = true;
        auto allocator = [this](grpc::ClientContext* context) {
            return this->stub().Subscribe(context);
        };
        auto deliver = [this, on_event, on_disconnect](const WireEvent& event) {
            observed_event_handler(on_event, on_disconnect, event);
        };
        // The previous manager, if any, is closed here.
        stream_manager_ =
            std::make_unique<StreamManager>(this->channel(), allocator, deliver, on_stream_end);
        // Usually the reader thread is still waiting for the connection and
        // nothing is written: backends stream without waiting for a request.
        stream_manager_->write(Req());
    }

    // Runs on the reader thread of the stream that ended.
    void reconnect_after_stream_end(const std::weak_ptr<char>& alive, std::uint64_t subscription,
                                    const EventCallback& on_event, const Callback& on_disconnect) {
        if (!still_current(subscription) || !on_event || !on_disconnect) {
            return;
        }
        executor_->add_work(
            [this, alive, subscription, on_event, on_disconnect] {
                // The client may be gone, or observation removed or replaced,
                // while the work waited in the queue.
                if (alive.expired() || !still_current(subscription)) {
                    return;
                }
                this->RemoveObserver();
                this->refresh_channel();
                this->SetObserver(on_event, on_disconnect);
            },
            0, "reconnect_stream");
    }

    bool still_current(std::uint64_t subscription) const {
        return observing_ && subscription_ == subscription;
    }

    // Sets the request's first field, `unsubscribe` in the backends' schemas,
    // to true.
    static void set_unsubscribe(Req& request) {
        const google::protobuf::FieldDescriptor* field = Req::descriptor()->FindFieldByNumber(1);
        if (field != nullptr && !field->is_repeated() &&
            field->cpp_type() == google::protobuf::FieldDescriptor::CPPTYPE_BOOL) {
            request.GetReflection()->SetBool(&request, field, true);
        }
    }

    std::unique_ptr<StreamManager> stream_manager_;
    std::atomic<bool> observing_{false};
    Executor* executor_;
    // Identifies the current observation; a stream end or a queued
    // reconnection that belongs to an older one is ignored.
    std::atomic<std::uint64_t> subscription_{0};
    // Expires with the client; queued reconnection work checks it.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace vanta
