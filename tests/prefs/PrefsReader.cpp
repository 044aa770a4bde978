#include <iostream>

#include "prefs/Prefs.h"

// Prints the stored login as another run of the launcher loads it, or <nil>.
int main() {
  const bool nil = tervix::Prefs::PreferenceValue("PrefLogin").IsNil();
  std::cout << (nil ? "<nil>" : tervix::Prefs::PrefLogin());
  return std::cout.good() ? 0 : 1;
}
