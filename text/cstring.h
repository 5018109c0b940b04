// CString: the program's one text type. UTF-16, reference counted, copied on
// write. The object is a single pointer to its characters; a header with the
// reference count, length and capacity stands right ahead of them in the same
// heap block, and the characters always end with a 0 unit.
#pragma once

#include <windows.h>

#include <cstdarg>

struct CStringData {
  // -1 marks the shared empty representation (never counted or freed) and any
  // block that is copied rather than shared.
  LONG nRefs;
  int nDataLength;   // code units, without the terminator
  int nAllocLength;  // code units the block holds, without the terminator

  WCHAR *data() { return reinterpret_cast<WCHAR *>(this + 1); }
};

static_assert(sizeof(CStringData) == 12, "three signed 32-bit fields");

class CString {
 public:
  CString();
  CString(const CString &source);
  CString(LPCWSTR text);  // null gives the empty string
  CString(LPCWSTR text, int length);
  ~CString();

  CString &operator=(const CString &source);
  CString &operator=(LPCWSTR text);

  CString &operator+=(const CString &text);
  CString &operator+=(LPCWSTR text);
  CString &operator+=(WCHAR unit);
  friend CString operator+(const CString &left, const CString &right);
  friend CString operator+(const CString &left, LPCWSTR right);
  friend CString operator+(LPCWSTR left, const CString &right);

  operator LPCWSTR() const { return m_pchData; }
  int GetLength() const { return GetData()->nDataLength; }
  bool IsEmpty() const { return GetData()->nDataLength == 0; }
  void Empty();
  // A position outside the text gives 0.
  WCHAR GetAt(int index) const;

  // Positions and counts are clamped, never rejected.
  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;

  // -1 when there is no match.
  int ReverseFind(WCHAR unit) const;
  int Find(WCHAR unit, int start = 0) const;
  int Find(LPCWSTR text, int start = 0) const;

  // Returns the number of replacements.
  int Replace(LPCWSTR oldText, LPCWSTR newText);

  // White space is what the platform's character types mark C1_SPACE.
  void TrimLeft();
  void TrimRight();

  // Room for at least minLength units, private to this string until
  // ReleaseBuffer. Null (and the string empty) when memory runs out.
  LPWSTR GetBuffer(int minLength);
  // -1: the text ends at its first 0 unit.
  void ReleaseBuffer(int newLength = -1);

  // wvsprintfW's conversions; floating-point ones are refused.
  BOOL Format(LPCWSTR format, ...);
  BOOL FormatV(LPCWSTR format, va_list args);

  // Whether this string and another share one block (for tests of sharing).
  bool SharesBufferWith(const CString &other) const { return m_pchData == other.m_pchData; }

 private:
  CStringData *GetData() const { return reinterpret_cast<CStringData *>(m_pchData) - 1; }
  bool IsEmptyRepresentation() const;
  void Init();
  bool AllocBuffer(int length);
  void Release();
  void AssignCopy(LPCWSTR text, int length);
  void CopyBeforeWrite();
  void ConcatInPlace(LPCWSTR text, int length);

  LPWSTR m_pchData;
};

static_assert(sizeof(CString) == sizeof(void *), "a CString is one pointer");
