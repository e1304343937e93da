#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>

#include "connection/PrinterController.h"

namespace fs = std::filesystem;

RecordingPipe& installRecordingPipe() {
  RecordingPipe* pipe = new RecordingPipe;
  PrinterController::getInstance().setPipe(std::unique_ptr<AbstractCommunicationPipe>(pipe), true);
  return *pipe;
}

void removePipe() {
  PrinterController::getInstance().setPipe(nullptr, false);
  PrinterController::getInstance().setPipeFactories(nullptr, nullptr);
}

ScratchDir::ScratchDir() {
  std::error_code error;
  old_ = fs::current_path(error).string();
  std::string pattern = (fs::temp_directory_path(error) / "tq587-test-XXXXXX").string();
  if (mkdtemp(&pattern[0])) path_ = pattern;
  if (!path_.empty()) fs::current_path(path_, error);
  if (error) path_.clear();
}

ScratchDir::~ScratchDir() {
  std::error_code error;
  if (!old_.empty()) fs::current_path(old_, error);
  if (!error && !path_.empty()) fs::remove_all(path_, error);
}
