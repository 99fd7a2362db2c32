#include "platform/threads.h"

#include <pthread.h>
#include <sched.h>

namespace vistrel::platform {

void useIdlePriority() {
  const sched_param none{};
  // Failure leaves the normal priority, which is only slower for the user.
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
}

}  // namespace vistrel::platform
