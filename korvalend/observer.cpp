#include "korvalend/observer.h"

namespace korvalend {
namespace {
TRemovalObserver g_nobody;
TRemovalObserver* g_observer = &g_nobody;
}  // namespace

TRemovalObserver& REMOVALOBSERVER() { return *g_observer; }

void SETREMOVALOBSERVER(TRemovalObserver* observer) { g_observer = observer != nullptr ? observer : &g_nobody; }

TObserverScope::TObserverScope(TRemovalObserver& observer) : previous_(g_observer) { g_observer = &observer; }

TObserverScope::~TObserverScope() { g_observer = previous_; }

}  // namespace korvalend
