#pragma once

#include <cstddef>
#include <cstdint>

namespace vel::values {

/// A counted run of bytes: the view of a string value. It never relies on a terminator and
/// may contain zero bytes; a null `data` always comes with `length` 0.
struct StringView {
  const char* data = nullptr;
  std::uint32_t length = 0;
};

/// A heap block that its holder owns, as `PopToOwned` hands it out: free it with
/// `FreeOwnedString`, or give it back to the stack with `PushOwnedString`.
struct OwnedString {
  char* data = nullptr;
  std::uint32_t length = 0;
};

/// How a slot holds its value.
enum StringKind : std::uint32_t {
  /// The data belongs to someone else (a literal or a variable) and is read in place.
  kReferenceString = 0,
  /// The data is a heap block owned by the slot and freed when the slot is popped.
  kOwnedString = 1,
  /// The data lies in the slot's own inline buffer.
  kInlineString = 2,
};

/// One position of the string stack.
struct StringSlot {
  static constexpr std::uint32_t kInlineCapacity = 20;

  std::uint32_t kind = kReferenceString;
  /// The first byte of a `reference` or `owned` value; an `inline` value is always read from
  /// `inlineBuffer`, so a slot can be copied to another position without fixing pointers.
  const char* data = nullptr;
  std::uint32_t length = 0;
  /// Size of an `owned` value's heap block, at least `length`: a concatenation onto an owned
  /// value appends into the room after it instead of copying both parts to a new block.
  std::uint32_t capacity = 0;
  char inlineBuffer[kInlineCapacity];

  /// The first byte of the value, wherever it lives.
  const char* Bytes() const { return kind == kInlineString ? inlineBuffer : data; }
  StringView View() const { return StringView{length == 0 ? nullptr : Bytes(), length}; }
};

void FreeStringBlock(char* block);

/// Frees the block of an `owned` slot and leaves the slot holding the empty value.
inline void ReleaseStringSlot(StringSlot& slot) {
  if (slot.kind == kOwnedString) FreeStringBlock(const_cast<char*>(slot.data));
  slot.kind = kReferenceString;
  slot.data = nullptr;
  slot.length = 0;
}

/// A saved string stack, as `SaveStringStack` returns it.
struct StringStackSnapshot;

/// A string stack: a fixed array of 32 slots and the count in use. Every thread has one of its
/// own, kept in thread-local storage, and the operations below act on the calling thread's
/// current stack, so each thread sees only its own values without any saving or restoring when
/// the runtime lock moves between threads. A thread manager that prefers to keep the value state
/// in its thread records can still do so: `ExchangeCurrentStringStack` installs a stack object
/// of its choosing for the calling thread, and `SaveStringStack`/`RestoreStringStack` move the
/// calling thread's values into and out of a snapshot. A thread's own stack, and the blocks its
/// values own, are freed when the thread ends.
///
/// Misuse never touches memory outside the stack: a push onto a full stack is ignored (an owned
/// block offered to it is freed, since the stack took it over), and popping or reading an empty
/// stack yields the empty value. Both are counted, per stack and process-wide, so diagnostics
/// can report unbalanced string expressions.
class StringStack {
 public:
  static constexpr std::uint32_t kCapacity = 32;

  StringStack() = default;
  /// Frees the heap blocks still owned by slots.
  ~StringStack();
  StringStack(const StringStack&) = delete;
  StringStack& operator=(const StringStack&) = delete;

  /// Number of values on the stack (0 to 32).
  std::uint32_t Count() const { return m_count; }
  /// Pops and discards every value, freeing owned blocks.
  void Clear();

  /// Pushes the empty value and returns its slot for the caller to fill in place; on a full
  /// stack returns null and counts an overflow (a caller holding an owned block must free it).
  StringSlot* Emplace() {
    if (m_count == kCapacity) {
      NoteOverflow();
      return nullptr;
    }
    // Filling the slot in place, rather than copying a finished one in, keeps pushes cheap.
    StringSlot& slot = m_slots[m_count++];
    slot.kind = kReferenceString;
    slot.data = nullptr;
    slot.length = 0;
    return &slot;
  }
  /// Pops `count` values, freeing their owned blocks; asking for more values than there are
  /// pops them all and counts an underflow.
  void Drop(std::uint32_t count) {
    if (count > m_count) {
      NoteUnderflow();
      count = m_count;
    }
    for (; count > 0; --count) ReleaseStringSlot(m_slots[--m_count]);
  }
  /// The top slot, or null (counting an underflow) when the stack is empty.
  StringSlot* Top() {
    if (m_count == 0) {
      NoteUnderflow();
      return nullptr;
    }
    return &m_slots[m_count - 1];
  }
  /// The slot `depth` positions below the top (0 is the top), or null when there is none.
  StringSlot* Below(std::uint32_t depth) {
    if (depth >= m_count) {
      NoteUnderflow();
      return nullptr;
    }
    return &m_slots[m_count - 1 - depth];
  }

  /// Moves the value `depth` slots below the top to the top, keeping the order of the values
  /// above it. A depth that reaches below the bottom counts an underflow and changes nothing.
  void RollUp(std::uint32_t depth);

  /// Moves every value into a new heap snapshot and leaves this stack empty; null when empty.
  StringStackSnapshot* TakeSnapshot();
  /// Replaces the values (freeing owned blocks) with those of `snapshot`, which is consumed.
  void Install(StringStackSnapshot* snapshot);

  /// Pops and reads of an empty stack, and out-of-range depths, seen by this stack.
  std::uint64_t Underflows() const { return m_underflows; }
  /// Pushes ignored because this stack was full.
  std::uint64_t Overflows() const { return m_overflows; }

 private:
  // The pushes, tops and pops above are inline because generated code runs several per
  // statement; only the misuse they count goes out of line.
  void NoteUnderflow();
  void NoteOverflow();

  StringSlot m_slots[kCapacity];
  std::uint32_t m_count = 0;
  std::uint64_t m_underflows = 0;
  std::uint64_t m_overflows = 0;
};

namespace detail {
/// The calling thread's current stack once one is installed; read inline by every operation.
extern constinit thread_local StringStack* t_currentStringStack;
/// Installs and returns the calling thread's own stack.
StringStack& InstallOwnStringStack();
}  // namespace detail

/// The stack that the operations of the calling thread act on.
inline StringStack& CurrentStringStack() {
  StringStack* current = detail::t_currentStringStack;
  return current != nullptr ? *current : detail::InstallOwnStringStack();
}

/// Makes `replacement` the calling thread's current stack and returns the one it replaces;
/// null reinstalls the thread's own stack. The replacement must outlive its installation.
StringStack* ExchangeCurrentStringStack(StringStack* replacement);

/// Process-wide totals of underflows and overflows of all string stacks, for diagnostics.
std::uint64_t StringStackUnderflowTotal();
std::uint64_t StringStackOverflowTotal();

/// Allocates a heap block that the stack can own (`PushOwnedString`); null when memory is
/// exhausted. `FreeStringBlock` frees it.
char* AllocateStringBlock(std::size_t size);
void FreeStringBlock(char* block);
/// Resizes a block from `AllocateStringBlock`, keeping its bytes; null (the block unchanged
/// and still the caller's) when memory is exhausted.
char* ResizeStringBlock(char* block, std::size_t size);

// Pushes. Each pushes one value onto the current stack (ignored when the stack is full).

/// Pushes a `reference` to `length` bytes at `data` (a literal or a variable; a fixed string is
/// pushed with its declared size). A null `data` pushes the empty value.
void PushString(const char* data, std::uint32_t length);
/// Pushes an `owned` value: the stack takes over `block`, which came from
/// `AllocateStringBlock` or `PopToOwned`.
void PushOwnedString(char* block, std::uint32_t length);
/// Pushes the empty value.
void PushEmpty();
/// Pushes the zero-terminated `text` (null: empty), already detached, so the caller may reuse
/// its buffer at once.
void PushCString(const char* text);
/// Pushes a detached copy of `length` bytes at `data`: inline when it fits 20 bytes, else in a
/// heap block (the empty value when memory is exhausted).
void PushBytes(const char* data, std::uint32_t length);
/// Pushes the decimal text of `value`.
void PushLong(std::int32_t value);
/// Pushes the text of `value` as `FormatReal` writes it.
void PushReal(double value);
/// Pushes "1" for a nonzero `value` and the empty value for 0.
void PushFlag(std::int32_t value);

// Pops and conversions of the top value. On an empty stack they read the empty value.

/// Copies min(length, size) bytes to the fixed string `destination` and pads it with blanks.
void PopToFixed(char* destination, std::uint32_t size);
/// Copies min(length, size - 1) bytes and a zero byte; a size of 0 writes nothing.
void PopToCString(char* destination, std::uint32_t size);
/// Stores n = min(length, size - 1, 255) in the first byte and the n bytes after it.
void PopToPascal(char* destination, std::uint32_t size);
/// Pops into `destination`, which must hold no block: an `owned` top hands over its block, any
/// other top is copied into a new block of exactly its length (the empty value, or exhausted
/// memory, gives no block and length 0).
void PopToOwned(OwnedString& destination);
/// Frees the block of `owned` and sets it to (null, 0).
void FreeOwnedString(OwnedString& owned);
/// Returns the length of the top and pops.
std::uint32_t PopLength();
/// Returns the length of the top without popping.
std::uint32_t TopLength();
/// The top value without popping it (the empty view when the stack is empty). The view stays
/// valid until the top is popped or changed.
StringView TopView();
/// Pops and discards the top.
void DropTop();
/// Clips the top, pops it and converts at most 39 characters of it as `ParseReal` does.
double PopToReal();
/// Clips the top, pops it and returns 1 if anything is left, else 0.
int TestNonBlank();

// Operations on values in place.

/// Removes trailing blanks (byte 32 only) from the top by shortening it.
void ClipTop();
/// Detaches the top and converts it to upper case with the installed character rules.
void UpperTop();
/// Makes the top exactly `width` bytes long: shortens a longer top, pads a shorter one with
/// blanks in a new block (left as it was when memory is exhausted).
void FitTop(std::uint32_t width);
/// Makes the top independent of its source: a `reference` of at most 20 bytes becomes
/// `inline`, a longer one is copied to a heap block and becomes `owned`.
void DetachTop();
/// Moves the value `depth` (1 to 255) slots below the top to the top.
void RollUp(std::uint32_t depth);
/// Pops top and second and pushes second followed by top.
void ConcatAppend();
/// Pops top and second and pushes top followed by second.
void ConcatPrepend();
/// Pops top and second; the sign of the result orders second against top (see CompareStrings).
int CompareFull();
/// As `CompareFull`, over the first min(length of second, length of top) bytes only.
int ComparePrefix();

// Per-thread state for the thread manager.

/// Moves the whole current stack into a heap snapshot, leaving the stack empty; null when the
/// stack is empty. Owned blocks travel with the snapshot.
StringStackSnapshot* SaveStringStack();
/// Replaces the current stack's values with `snapshot` (null: empties it) and frees the
/// snapshot. Values on the stack before are dropped, their owned blocks freed.
void RestoreStringStack(StringStackSnapshot* snapshot);
/// Frees a snapshot that will never be restored, with its owned blocks.
void DiscardStringStackSnapshot(StringStackSnapshot* snapshot);

}  // namespace vel::values
