#include "platform/account.h"

#include "platform/sim/machine.h"

namespace platform {

Account currentAccount() {
    const sim::Machine& m = sim::current();
    return Account{m.accountName, m.accountSid};
}

}  // namespace platform
