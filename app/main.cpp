// main.cpp — the process entry hands over at once; every way out ends in ExitProgram.
#include "app/app.h"

int main() {
  nf::app::StartProgram();
}
