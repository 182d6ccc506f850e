#include "engine/BlockFinisher.h"

#include "engine/EffectChain.h"
#include "engine/PlayEngine.h"

namespace vk {

BlockFinisher::BlockFinisher(PlayEngine& engine) : engine_(engine), thread_([this] { Run(); }) {}

BlockFinisher::~BlockFinisher() {
  Wait();
  quit_ = true;
  start_.release();
  thread_.join();
}

void BlockFinisher::Start(const FinisherJob& job) {
  job_ = job;
  side_fn_ = nullptr;
  busy_ = true;
  start_.release();
}

void BlockFinisher::StartSide(void (*fn)(void*), void* arg) {
  job_ = FinisherJob{};
  side_fn_ = fn;
  side_arg_ = arg;
  busy_ = true;
  start_.release();
}

bool BlockFinisher::Wait() {
  if (!busy_) return false;
  done_.acquire();
  busy_ = false;
  return true;
}

void BlockFinisher::Run() {
  for (;;) {
    start_.acquire();
    if (quit_) return;
    if (side_fn_ != nullptr) {
      side_fn_(side_arg_);
    } else {
      FinishBlock(engine_, job_.out, job_.params, job_.back);
    }
    done_.release();
  }
}

}  // namespace vk
