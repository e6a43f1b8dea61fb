#include "pubsub/grpc_subscriber.h"

#include <thread>

#include <grpcpp/client_context.h>
#include <grpcpp/impl/codegen/proto_utils.h>
#include <grpcpp/support/byte_buffer.h>
#include <grpcpp/support/sync_stream.h>

#include "pubsub/bus_channel.h"
#include "rpc/client/grpc_exceptions.h"

namespace vanta::pubsub {

namespace {

// How long opening the stream waits for the broker, and how often it looks.
constexpr std::chrono::milliseconds kReaderConnectTimeout{1000};
constexpr std::chrono::milliseconds kConnectPollInterval{100};

// The broker's Read stream, taken as the bytes of each message: a message that
// does not decode is then one message lost, where a stream of PubSubMsg would
// fail the read and leave the stream open, so that finishing it never returns.
const grpc::internal::RpcMethod kReadMethod("/vanta.pubsub.SubscribeService/Read",
                                            grpc::internal::RpcMethod::SERVER_STREAMING);

}  // namespace

struct GrpcSubscriber::Connection {
    explicit Connection(const std::string& address)
        : channel(create_bus_channel(address)), stub(SubscribeService::NewStub(channel)) {}

    const std::shared_ptr<grpc::Channel> channel;
    const std::unique_ptr<SubscribeService::Stub> stub;
};

struct GrpcSubscriber::ReadCall {
    // Keeps the stream's channel alive after a reconnection replaced it.
    std::shared_ptr<Connection> connection;
    grpc::ClientContext context;
    std::unique_ptr<grpc::ClientReader<grpc::ByteBuffer>> reader;
    bool finished = false;
    grpc::Status status;
};

GrpcSubscriber::GrpcSubscriber(const std::string& address, const std::string& name,
                               const logging::Logger& logger)
    : address_(address),
      name_(name),
      logger_(logger),
      connection_(std::make_shared<Connection>(address)) {}

GrpcSubscriber::~GrpcSubscriber() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (call_ && !call_->finished) {
        call_->context.TryCancel();
        finish_call_locked();
    }
}

bool GrpcSubscriber::subscribe(const SubscriptionRequest& request) {
    const std::shared_ptr<Connection> current = connection();
    grpc::ClientContext context;
    set_deadline(context);
    SubscriptionResponse response;
    const grpc::Status status = current->stub->Subscribe(&context, request, &response);
    return status.ok() && response.success();
}

bool GrpcSubscriber::subscriptions(const SubscriptionQueryRequest& request,
                                   Subscriptions& subscriptions) {
    const std::shared_ptr<Connection> current = connection();
    grpc::ClientContext context;
    set_deadline(context);
    return current->stub->GetSubscriptions(&context, request, &subscriptions).ok();
}

bool GrpcSubscriber::read(const ReadRequest& request, PubSubMsg& message) {
    if (request.subscriber() != name_) {
        logger_.error("Unexpected subscriber name: expected {} got {}", name_,
                      request.subscriber());
        return false;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (!call_ || call_->finished) {
        lock.unlock();
        if (!create_reader()) {
            logger_.error("Subscriber::Reader need restarted...");
            return false;
        }
        lock.lock();
    }
    // Only this thread replaces call_, so the reference outlives the unlocked
    // read; stop_reading() waits for reading_ to drop before it finishes it.
    ReadCall& call = *call_;
    if (!call.finished) {
        reading_ = true;
        lock.unlock();
        bool received = false;
        for (grpc::ByteBuffer bytes; !received && call.reader->Read(&bytes);) {
            const grpc::Status decoded =
                grpc::SerializationTraits<PubSubMsg>::Deserialize(&bytes, &message);
            received = decoded.ok();
            if (!received) {
                logger_.error("Dropped a bus message that does not decode: {}",
                              decoded.error_message());
            }
        }
        lock.lock();
        reading_ = false;
        read_returned_.notify_all();
        if (received) {
            return true;
        }
        finish_call_locked();
    }
    const grpc::Status status = call.status;
    // A read that stop_reading() cancelled is the end of a clean stop, which
    // stop_reading() reports itself.
    const bool stopped = stopped_;
    lock.unlock();
    if (!stopped) {
        logger_.error("Read failed - {}, error message: {}",
                      GrpcStatusCodeToString(status.error_code()), status.error_message());
    }
    return false;
}

void GrpcSubscriber::stop_reading() {
    std::unique_lock<std::mutex> lock(mutex_);
    stopped_ = true;
    if (!call_) {
        return;
    }
    call_->context.TryCancel();
    read_returned_.wait(lock, [this] { return !reading_; });
    finish_call_locked();
    const grpc::Status status = call_->status;
    lock.unlock();
    logger_.info("reading stream status - {}, error message: {}",
                 GrpcStatusCodeToString(status.error_code()), status.error_message());
}

bool GrpcSubscriber::restart() {
    logger_.info("Restarting Subscriber ...");
    stop_reading();
    {
        // A stop_reading() from another thread after this point still stops
        // the new stream: it cancels it, or create_reader() sees the flag.
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = false;
    }
    return create_reader();
}

std::chrono::milliseconds GrpcSubscriber::timeout() const {
    return timeout_;
}

void GrpcSubscriber::set_timeout(std::chrono::milliseconds timeout) {
    timeout_ = timeout;
}

bool GrpcSubscriber::create_reader() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (call_ && !call_->finished) {
            call_->context.TryCancel();
            read_returned_.wait(lock, [this] { return !reading_; });
            finish_call_locked();
        }
        // Dropping the old call and channel first lets the new channel start
        // with a connection of its own.
        call_.reset();
        connection_ = std::make_shared<Connection>(address_);
        if (stopped_) {
            return false;
        }
    }
    if (!try_connect(kReaderConnectTimeout)) {
        return false;
    }
    auto call = std::make_unique<ReadCall>();
    call->connection = connection();
    ReadRequest request;
    request.set_subscriber(name_);
    call->reader.reset(grpc::internal::ClientReaderFactory<grpc::ByteBuffer>::Create(
        call->connection->channel.get(), kReadMethod, &call->context, request));

    std::lock_guard<std::mutex> lock(mutex_);
    if (stopped_) {
        call->context.TryCancel();
        call->reader->Finish();
        return false;
    }
    call_ = std::move(call);
    return true;
}

bool GrpcSubscriber::try_connect(std::chrono::milliseconds timeout) {
    const std::shared_ptr<grpc::Channel> channel = connection()->channel;
    const auto attempts =
        (timeout.count() + kConnectPollInterval.count() - 1) / kConnectPollInterval.count();
    grpc_connectivity_state state = channel->GetState(false);
    for (auto attempt = attempts; attempt > 0; --attempt) {
        if (state == GRPC_CHANNEL_READY) {
            return true;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopped_) {
                return false;
            }
        }
        std::this_thread::sleep_for(kConnectPollInterval);
        state = channel->GetState(true);
    }
    return state == GRPC_CHANNEL_READY;
}

void GrpcSubscriber::finish_call_locked() {
    if (!call_->finished) {
        call_->status = call_->reader->Finish();
        call_->finished = true;
    }
}

std::shared_ptr<GrpcSubscriber::Connection> GrpcSubscriber::connection() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connection_;
}

void GrpcSubscriber::set_deadline(grpc::ClientContext& context) const {
    const std::chrono::milliseconds deadline = timeout_;
    if (deadline >= std::chrono::milliseconds(1)) {
        context.set_deadline(std::chrono::system_clock::now() + deadline);
    }
}

}  // namespace vanta::pubsub
