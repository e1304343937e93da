// ProtocolGeneric.h - the tag object: its identity (a row of the tag table,
// Tags.h), its output buffer, and the values every tag object shares.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The text at the tag being converted; set by the parser before any tag
// object runs, null before the first conversion.
extern const char* currentTagText;
// While true, <ce>, <ad>, <tc> and </mg> start with a line feed.
extern bool precisaQuebraLinha;

// The texts a tag object answers instead of command bytes when it cannot
// send them; the parser turns each into the text's result.
constexpr char kMarkerUpdateError[] = "-1";    // update error
constexpr char kMarkerInvalid[] = "-99";       // invalid parameter
constexpr char kMarkerCommunication[] = "0";   // communication error
constexpr char kMarkerGenericError[] = "-27";  // generic error

// A run of command bytes; a byte array of EscPos.h is one.
struct CommandBytes {
  constexpr CommandBytes() = default;
  template <std::size_t N>
  constexpr CommandBytes(const uint8_t (&b)[N]) : bytes(b), length(static_cast<int>(N)) {}

  const uint8_t* bytes = nullptr;
  int length = 0;
};
constexpr CommandBytes kNoCommand{};

// The DEBUG line of a tag that has cleared the start of its output, alone
// or after the class's own prefix ("PDF417: ").
constexpr char kMemoryCleared[] = "Limpar posi\xE7\xF5" "es da mem\xF3ria OK.";
template <std::size_t N>
constexpr std::array<char, N - 1 + sizeof kMemoryCleared> memoryCleared(const char (&prefix)[N]) {
  std::array<char, N - 1 + sizeof kMemoryCleared> line{};
  for (std::size_t i = 0; i + 1 < N; ++i) line[i] = prefix[i];
  for (std::size_t i = 0; i < sizeof kMemoryCleared; ++i) line[N - 1 + i] = kMemoryCleared[i];
  return line;
}

// What a row of the tag table says of its tag, besides its texts.
enum TagMark : unsigned {
  // A text that opens with this tag starts its first line itself: the text
  // loop clears precisaQuebraLinha before converting it.
  kStartsLine = 1,
  // The tag reads a parameter out of the text: the parser refreshes it
  // before every search.
  kParameter = 2,
  // Fixed tags: the open command follows a line feed while
  // precisaQuebraLinha is true, and sets it true afterwards.
  kLineBreak = 4,
  // Fixed tags: the close also says "Alocação de memória OK.".
  kAllocationOnClose = 8,
  // Fixed tags: no log line at all.
  kSilent = 16,
};

class ProtocolGeneric;
struct TagRow;
using TagFactory = std::unique_ptr<ProtocolGeneric> (*)(const TagRow& row);

// One row of the tag table: the class that serves the tag (its name also
// names the log lines), the open and close texts and how many characters
// the parser steps over after each, the row's marks, and for a fixed tag
// its two commands.
struct TagRow {
  const char* className;
  const char* openText;
  const char* closeText;
  int openLength;
  int closeLength;
  TagFactory create;
  unsigned marks;
  CommandBytes openCommand;
  CommandBytes closeCommand;  // an empty close sends nothing

  constexpr bool has(unsigned mark) const { return (marks & mark) != 0; }
};

// The decimal value at the start of text, read as atoi reads it (leading
// blanks, a sign, then digits), looking at most at limit characters. A value
// too large for an int stops growing at the int's limit.
int readDecimal(const char* text, std::size_t limit);

class ProtocolGeneric {
 public:
  static constexpr int kBufferSize = 5000;
  // The output bytes a tag clears before it writes a command.
  static constexpr int kClearedStart = 5;

  virtual ~ProtocolGeneric() = default;
  ProtocolGeneric(const ProtocolGeneric&) = delete;
  ProtocolGeneric& operator=(const ProtocolGeneric&) = delete;

  // Open tag met: the bytes to send, or an error marker ("-1", "-99", "0",
  // "-27"). Sets the output size.
  virtual const uint8_t* getBytes();
  virtual int getTamanho() const { return size_; }
  // Close tag met: as getBytes.
  virtual const uint8_t* getBytes2();

  // The parser's refresh of a tag that reads a parameter out of the text
  // (kParameter): once per text before its first tag, and at every tag,
  // before the search, with the place of the '<' in the text.
  virtual void prepareText(const char* /*text*/, int /*length*/) {}
  virtual void refresh(const char* /*position*/, int /*place*/) {}

  const TagRow& row() const { return row_; }
  const char* openText() const { return openText_; }
  const char* closeText() const { return closeText_; }
  int openLength() const { return openLength_; }
  int closeLength() const { return closeLength_; }

 protected:
  explicit ProtocolGeneric(const TagRow& row);

  // The lengths of the tag's row, as before any content was taken.
  void restoreLengths() {
    openLength_ = row_.openLength;
    closeLength_ = row_.closeLength;
  }
  // The open length grown by the content the parser steps over.
  void coverContent(int characters) { openLength_ = row_.openLength + characters; }
  // The log names "<class>::getBytes" and "<class>::getBytes2".
  const char* whereOpen() const { return whereOpen_.c_str(); }
  const char* whereClose() const { return whereClose_.c_str(); }
  // Clears the first n bytes of the output and empties it.
  void clearOutput(int n);
  // Appends to the output (never beyond its 5000 bytes).
  void append(const uint8_t* bytes, int n);
  void append(CommandBytes c) { append(c.bytes, c.length); }
  template <std::size_t N>
  void append(const std::array<uint8_t, N>& bytes) {
    append(bytes.data(), static_cast<int>(N));
  }
  void append(uint8_t byte) { append(&byte, 1); }
  void repeat(uint8_t byte, int times);
  // The markers, with the size of their text and its zero.
  const uint8_t* invalid();       // "-99": bad parameter
  const uint8_t* genericError();  // "-27": nothing to read
  const uint8_t* output() const { return output_.get(); }

  const TagRow& row_;
  const char* openText_;
  const char* closeText_;
  int openLength_;
  int closeLength_;
  int size_ = 0;

 private:
  const std::string whereOpen_;
  const std::string whereClose_;
  std::unique_ptr<uint8_t[]> output_;
};

// The base of the barcode tags and of the alignment tags.
class ProtocolTagGeneric : public ProtocolGeneric {
 protected:
  using ProtocolGeneric::ProtocolGeneric;

  // The number of characters from content to the close text, when the close
  // text starts within the first window places; -1 when it does not, or when
  // the text ends first.
  int measureContent(const char* content, int window) const;
  // The close tag of a tag that sent everything at its open tag: nothing
  // to send, and its DEBUG line (nullptr: none).
  const uint8_t* sendNothing(const char* line);
};

// The base of a family of tags that differ only in a definition, their
// values and log lines: the open tag does the family's work, the close tag
// sends nothing and says the definition's closeLine.
template <class Definition>
class DefinedTag : public ProtocolTagGeneric {
 public:
  const uint8_t* getBytes2() override { return sendNothing(definition_.closeLine); }

 protected:
  DefinedTag(const TagRow& row, const Definition& definition)
      : ProtocolTagGeneric(row), definition_(definition) {}

  const Definition definition_;
};
