#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include <grpcpp/support/server_interceptor.h>

namespace vanta::sim {

// Makes a backend hang as a paused process does: while held, every call
// arriving waits before its handler runs, and every message the backend
// sends waits before it leaves, until the gate is opened again. Callers
// see nothing until their deadline; what waited is carried out on opening.
//
// The gate must outlive the server its interceptors are installed in.
class HangGate {
  public:
    void hold() {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = true;
    }
    void open() {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = false;
        opened_.notify_all();
    }
    void wait_while_held() {
        std::unique_lock<std::mutex> lock(mutex_);
        opened_.wait(lock, [&] { return !held_; });
    }

    // For the server's builder: the interceptors that make calls wait here.
    std::vector<std::unique_ptr<grpc::experimental::ServerInterceptorFactoryInterface>>
    interceptors() {
        std::vector<std::unique_ptr<grpc::experimental::ServerInterceptorFactoryInterface>> made;
        made.push_back(std::make_unique<InterceptorFactory>(*this));
        return made;
    }

  private:
    class Interceptor final : public grpc::experimental::Interceptor {
      public:
        Interceptor(HangGate& gate, bool unary) : gate_(gate), unary_(unary) {}
        void Intercept(grpc::experimental::InterceptorBatchMethods* methods) override {
            using Hook = grpc::experimental::InterceptionHookPoints;
            // A unary call waits before its handler: a hung backend does
            // nothing. Streams go on reading; what they write waits.
            if ((unary_ && methods->QueryInterceptionHookPoint(Hook::POST_RECV_MESSAGE)) ||
                methods->QueryInterceptionHookPoint(Hook::PRE_SEND_MESSAGE)) {
                gate_.wait_while_held();
            }
            methods->Proceed();
        }

      private:
        HangGate& gate_;
        const bool unary_;
    };

    class InterceptorFactory final : public grpc::experimental::ServerInterceptorFactoryInterface {
      public:
        explicit InterceptorFactory(HangGate& gate) : gate_(gate) {}
        grpc::experimental::Interceptor* CreateServerInterceptor(
            grpc::experimental::ServerRpcInfo* info) override {
            // gRPC owns and deletes the interceptor when the call ends.
            return std::make_unique<Interceptor>(
                       gate_, info->type() == grpc::experimental::ServerRpcInfo::Type::UNARY)
                .release();
        }

      private:
        HangGate& gate_;
    };

    std::mutex mutex_;
    std::condition_variable opened_;
    bool held_ = false;
};

}  // namespace vanta::sim
