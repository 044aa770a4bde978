#pragma once

// The process from entry to exit.
namespace tervix {

int main(int argc, char** argv);
void initialize();
void Main();
void InitFileTypes();
void NewAppInstance();
void ApplicationAddMenuHandlers();
void MakeDefaultView();
void finalize();

}  // namespace tervix
