#include <iostream>

#include "prefs/Prefs.h"

// Prints the stored login, as another run of the launcher would read it.
int main() {
  std::cout << tervix::Prefs::PrefLogin();
  return std::cout.good() ? 0 : 1;
}
