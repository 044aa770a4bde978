#include "app/Startup.h"

int main(int argc, char** argv) {
  return tervix::main(argc, argv);
}
