#include "text/cstring.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "text/white_space.h"

namespace {

// The representation every empty string shares: never counted, never freed.
struct EmptyRepresentation {
  CStringData header;
  WCHAR terminator;
};
EmptyRepresentation g_emptyRepresentation = {{-1, 0, 0}, 0};
static_assert(offsetof(EmptyRepresentation, terminator) == sizeof(CStringData),
              "the characters follow the header directly");

// The most units one block may hold: the size in bytes must fit an int.
const int kMaxLength = (0x7FFFFFFF - static_cast<int>(sizeof(CStringData))) / 2 - 1;

int LengthOf(LPCWSTR text) { return text == nullptr ? 0 : lstrlenW(text); }

void CopyUnits(WCHAR *target, LPCWSTR source, int count) {
  if (count > 0) std::memmove(target, source, static_cast<size_t>(count) * sizeof(WCHAR));
}

// wvsprintfW has no floating-point conversions; a format that asks for one is
// a programming error, reported the way assertions are.
bool AsksForFloatingPoint(LPCWSTR format) {
  for (LPCWSTR p = format; *p != 0; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p == '-' || *p == '+' || *p == '#' || *p == '0' || *p == ' ') ++p;
    while ((*p >= '0' && *p <= '9') || *p == '*') ++p;
    if (*p == '.') {
      ++p;
      while ((*p >= '0' && *p <= '9') || *p == '*') ++p;
    }
    while (*p == 'h' || *p == 'l' || *p == 'L' || *p == 'I' || *p == '6' || *p == '4' ||
           *p == '3' || *p == '2') {
      ++p;
    }
    switch (*p) {
      case 'e':
      case 'E':
      case 'f':
      case 'g':
      case 'G':
        return true;
      case 0:
        return false;
      default:
        break;
    }
  }
  return false;
}

void RefuseFloatingPoint() {
  WCHAR message[160];
  wsprintfW(message,
            TEXT("Floating point (%%e, %%f, %%g, and %%G) is not supported by the WTL::CString ")
                TEXT("class."));
  OutputDebugStringW(message);
  DebugBreak();
}

}  // namespace

// ---- Representation -----------------------------------------------------------

bool CString::IsEmptyRepresentation() const { return GetData() == &g_emptyRepresentation.header; }

void CString::Init() { m_pchData = g_emptyRepresentation.header.data(); }

bool CString::AllocBuffer(int length) {
  if (length <= 0) {
    Init();
    return length == 0;
  }
  if (length > kMaxLength) {
    Init();
    return false;
  }
  size_t bytes = sizeof(CStringData) + (static_cast<size_t>(length) + 1) * sizeof(WCHAR);
  auto *block = static_cast<CStringData *>(std::malloc(bytes));
  if (block == nullptr) {
    Init();
    return false;
  }
  block->nRefs = 1;
  block->nDataLength = length;
  block->nAllocLength = length;
  block->data()[length] = 0;
  m_pchData = block->data();
  return true;
}

void CString::Release() {
  if (IsEmptyRepresentation()) return;
  CStringData *data = GetData();
  // A negative count marks a block nobody shares: this string owns it alone.
  if (data->nRefs < 0 || InterlockedDecrement(&data->nRefs) <= 0) std::free(data);
  Init();
}

void CString::AssignCopy(LPCWSTR text, int length) {
  // Build the new block first: text may point into the old one.
  CString copy;
  if (length > 0 && copy.AllocBuffer(length)) CopyUnits(copy.m_pchData, text, length);
  Release();
  m_pchData = copy.m_pchData;
  copy.Init();
}

void CString::CopyBeforeWrite() {
  CStringData *data = GetData();
  if (data->nRefs <= 1) return;
  CString copy;
  if (copy.AllocBuffer(data->nDataLength)) CopyUnits(copy.m_pchData, m_pchData, data->nDataLength);
  Release();
  m_pchData = copy.m_pchData;
  copy.Init();
}

void CString::ConcatInPlace(LPCWSTR text, int length) {
  if (length <= 0) return;
  CStringData *data = GetData();
  int oldLength = data->nDataLength;
  if (length > kMaxLength - oldLength) {
    Release();
    return;
  }
  if (data->nRefs > 1 || oldLength + length > data->nAllocLength || IsEmptyRepresentation()) {
    CString joined;
    if (joined.AllocBuffer(oldLength + length)) {
      CopyUnits(joined.m_pchData, m_pchData, oldLength);
      CopyUnits(joined.m_pchData + oldLength, text, length);
    }
    Release();
    m_pchData = joined.m_pchData;
    joined.Init();
    return;
  }
  CopyUnits(m_pchData + oldLength, text, length);
  data->nDataLength = oldLength + length;
  m_pchData[data->nDataLength] = 0;
}

// ---- Construction and assignment -------------------------------------------------

CString::CString() { Init(); }

CString::CString(const CString &source) {
  CStringData *data = source.GetData();
  if (data->nRefs >= 0) {
    m_pchData = source.m_pchData;
    InterlockedIncrement(&data->nRefs);
  } else {
    Init();
    AssignCopy(source.m_pchData, data->nDataLength);
  }
}

CString::CString(LPCWSTR text) {
  Init();
  AssignCopy(text, LengthOf(text));
}

CString::CString(LPCWSTR text, int length) {
  Init();
  if (text != nullptr) AssignCopy(text, length);
}

CString::~CString() { Release(); }

CString &CString::operator=(const CString &source) {
  if (m_pchData == source.m_pchData) return *this;
  CStringData *data = source.GetData();
  if (data->nRefs >= 0) {
    InterlockedIncrement(&data->nRefs);
    Release();
    m_pchData = source.m_pchData;
  } else {
    AssignCopy(source.m_pchData, data->nDataLength);
  }
  return *this;
}

CString &CString::operator=(LPCWSTR text) {
  AssignCopy(text, LengthOf(text));
  return *this;
}

CString &CString::operator+=(const CString &text) {
  // Appending a string to itself must read the old characters, so hold them.
  CString held(text);
  ConcatInPlace(held.m_pchData, held.GetLength());
  return *this;
}

CString &CString::operator+=(LPCWSTR text) {
  ConcatInPlace(text, LengthOf(text));
  return *this;
}

CString &CString::operator+=(WCHAR unit) {
  WCHAR single[2] = {unit, 0};
  ConcatInPlace(single, 1);
  return *this;
}

CString operator+(const CString &left, const CString &right) {
  CString joined(left);
  joined += right;
  return joined;
}

CString operator+(const CString &left, LPCWSTR right) {
  CString joined(left);
  joined += right;
  return joined;
}

CString operator+(LPCWSTR left, const CString &right) {
  CString joined(left);
  joined += right;
  return joined;
}

void CString::Empty() { Release(); }

WCHAR CString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) return 0;
  return m_pchData[index];
}

// ---- Extraction ------------------------------------------------------------------------

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  int length = GetLength();
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first > length) first = length;
  if (count > length - first) count = length - first;
  if (first == 0 && count == length) return *this;
  return CString(m_pchData + first, count);
}

// ---- Searching -------------------------------------------------------------------------

int CString::ReverseFind(WCHAR unit) const {
  for (int i = GetLength() - 1; i >= 0; --i) {
    if (m_pchData[i] == unit) return i;
  }
  return -1;
}

int CString::Find(WCHAR unit, int start) const {
  if (start < 0) start = 0;
  for (int i = start; i < GetLength(); ++i) {
    if (m_pchData[i] == unit) return i;
  }
  return -1;
}

int CString::Find(LPCWSTR text, int start) const {
  if (start < 0) start = 0;
  int length = GetLength();
  int needle = LengthOf(text);
  if (start > length) return -1;
  for (int i = start; i + needle <= length; ++i) {
    if (std::memcmp(m_pchData + i, text, static_cast<size_t>(needle) * sizeof(WCHAR)) == 0)
      return i;
  }
  return -1;
}

// ---- Changing in place -----------------------------------------------------------------

int CString::Replace(LPCWSTR oldText, LPCWSTR newText) {
  int oldLength = LengthOf(oldText);
  if (oldLength == 0) return 0;
  int newLength = LengthOf(newText);

  int matches = 0;
  for (int i = Find(oldText); i >= 0; i = Find(oldText, i + oldLength)) ++matches;
  if (matches == 0) return 0;

  long long resultLength = GetLength() + static_cast<long long>(matches) * (newLength - oldLength);
  CString result;
  if (resultLength > kMaxLength || !result.AllocBuffer(static_cast<int>(resultLength))) {
    Release();
    return matches;
  }
  WCHAR *out = result.m_pchData;
  int from = 0;
  for (int i = Find(oldText); i >= 0; i = Find(oldText, i + oldLength)) {
    CopyUnits(out, m_pchData + from, i - from);
    out += i - from;
    CopyUnits(out, newText, newLength);
    out += newLength;
    from = i + oldLength;
  }
  CopyUnits(out, m_pchData + from, GetLength() - from);
  *this = result;
  return matches;
}

void CString::TrimLeft() {
  LPCWSTR p = m_pchData;
  while (IsSpace(*p)) p = CharNextW(p);
  int skipped = static_cast<int>(p - m_pchData);
  if (skipped == 0) return;
  CopyBeforeWrite();
  if (IsEmptyRepresentation()) return;
  int remaining = GetLength() - skipped;
  CopyUnits(m_pchData, m_pchData + skipped, remaining);
  GetData()->nDataLength = remaining;
  m_pchData[remaining] = 0;
}

void CString::TrimRight() {
  LPCWSTR runStart = nullptr;
  for (LPCWSTR p = m_pchData; *p != 0; p = CharNextW(p)) {
    if (IsSpace(*p)) {
      if (runStart == nullptr) runStart = p;
    } else {
      runStart = nullptr;
    }
  }
  if (runStart == nullptr) return;
  int kept = static_cast<int>(runStart - m_pchData);
  CopyBeforeWrite();
  if (IsEmptyRepresentation()) return;
  GetData()->nDataLength = kept;
  m_pchData[kept] = 0;
}

// ---- Direct access ---------------------------------------------------------------------

LPWSTR CString::GetBuffer(int minLength) {
  CStringData *data = GetData();
  if (minLength < 0) minLength = 0;
  if (data->nRefs > 1 || minLength > data->nAllocLength || IsEmptyRepresentation()) {
    int length = data->nDataLength;
    int size = minLength > length ? minLength : length;
    CString fresh;
    if (size == 0) size = 1;  // even an empty buffer is private, so it can be written
    if (!fresh.AllocBuffer(size)) {
      Release();
      return nullptr;
    }
    CopyUnits(fresh.m_pchData, m_pchData, length);
    fresh.m_pchData[length] = 0;
    fresh.GetData()->nDataLength = length;
    Release();
    m_pchData = fresh.m_pchData;
    fresh.Init();
  }
  return m_pchData;
}

void CString::ReleaseBuffer(int newLength) {
  if (IsEmptyRepresentation()) return;
  CopyBeforeWrite();
  if (IsEmptyRepresentation()) return;
  CStringData *data = GetData();
  if (newLength < 0) {
    newLength = 0;
    while (newLength < data->nAllocLength && m_pchData[newLength] != 0) ++newLength;
  }
  if (newLength > data->nAllocLength) newLength = data->nAllocLength;
  data->nDataLength = newLength;
  m_pchData[newLength] = 0;
}

// ---- Formatting ------------------------------------------------------------------------

BOOL CString::Format(LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  BOOL done = FormatV(format, args);
  va_end(args);
  return done;
}

BOOL CString::FormatV(LPCWSTR format, va_list args) {
  if (format == nullptr) return FALSE;
  if (AsksForFloatingPoint(format)) {
    RefuseFloatingPoint();
    return FALSE;
  }
  // wvsprintfW writes at most 1024 units, its terminator included. The text
  // ends at the terminator: when output was cut, the result counts one more.
  WCHAR formatted[1025];
  formatted[0] = 0;
  formatted[1024] = 0;
  wvsprintfW(formatted, format, args);
  AssignCopy(formatted, lstrlenW(formatted));
  return TRUE;
}
