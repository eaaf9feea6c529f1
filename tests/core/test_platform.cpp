// Strings, handles, queries and extensions of the platform layer.
#include <gtest/gtest.h>

#include "TavPPR.h"
#include "TavServices.h"

namespace {

TEST(UnicodeString, ConvertsBetweenUtf8Utf16AndLatin1) {
  const TavUnicodeString s("Tür € 𝄞");  // 2-, 3- and 4-byte forms
  std::u16string u16 = s.ToUtf16();
  EXPECT_EQ(u16.size(), 8u);  // the clef is a surrogate pair
  EXPECT_EQ(TavUnicodeString::FromUtf16(u16), s);
  EXPECT_EQ(TavUnicodeString::FromXMLCh(u16.c_str()), s);
  EXPECT_EQ(s.ToLatin1WithReferences(), "T\xFCr &#8364; &#119070;");
  EXPECT_EQ(TavUnicodeString::FromLatin1("T\xFCr"), TavUnicodeString("Tür"));
  EXPECT_EQ(TavUnicodeString::FromXMLCh(nullptr), TavUnicodeString());
}

TEST(UnicodeString, BrokenInputBecomesReplacementCharacter) {
  // A lone surrogate and a truncated UTF-8 sequence must not produce invalid output.
  std::u16string lone{u'a', char16_t(0xD800), u'b'};
  EXPECT_EQ(TavUnicodeString::FromUtf16(lone), TavUnicodeString("a\xEF\xBF\xBD" "b"));
  TavUnicodeString truncated(std::string("x\xE2\x82"));
  EXPECT_EQ(truncated.CodePoints(), (std::vector<char32_t>{'x', 0xFFFD, 0xFFFD}));
  TavUnicodeString overlong(std::string("\xC0\xAF"));
  EXPECT_EQ(overlong.CodePoints().front(), char32_t(0xFFFD));
}

TEST(UnicodeString, CaseStripAndAffixes) {
  EXPECT_EQ(TavUnicodeString("true").ToUpper(), "TRUE");
  EXPECT_EQ(TavUnicodeString("MiXed.XML").ToLower(), "mixed.xml");
  EXPECT_EQ(TavUnicodeString("  a b \t").Strip(), "a b");
  EXPECT_EQ(TavUnicodeString("   ").Strip(), "");
  EXPECT_TRUE(TavUnicodeString("file.xml").EndsWith(".xml"));
  EXPECT_FALSE(TavUnicodeString("ml").EndsWith(".xml"));
}

class IA : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(IA);
  virtual int A() const = 0;
};
class IB : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(IB);
  virtual int B() const = 0;
};
class Obj final : public virtual IA {
public:
  std::string LateType() const override { return "TestObj"; }
  int A() const override { return 1; }
};
class BExt final : public virtual IB {
public:
  explicit BExt(Ref<TavBaseUnknown> of) : of_(std::move(of)) {}
  int B() const override { return 2; }
  Ref<TavBaseUnknown> ExtendedObject() override { return of_; }

private:
  Ref<TavBaseUnknown> of_;
};

TEST(Query, TypedByNameAndThroughExtensions) {
  TavInterfaceNames::Declare<IA>();
  TavInterfaceNames::Declare<IB>();
  auto o = std::make_shared<Obj>();
  Ref<TavBaseUnknown> h = o;
  EXPECT_EQ(query<IA>(h).get(), o.get());
  EXPECT_EQ(query<IB>(h), nullptr);  // no extension registered yet: a failed query is null
  EXPECT_NE(h->QueryInterface("IA"), nullptr);
  EXPECT_EQ(h->QueryInterface("NoSuchInterface"), nullptr);

  TavExtensionRegistry::Get().Register("TestObj", "IB", [](const Ref<TavBaseUnknown>& of) { return std::make_shared<BExt>(of); });
  auto b = query<IB>(h);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->B(), 2);
  EXPECT_TRUE(SameObject(b, h));  // an extension is the object it extends
  EXPECT_NE(h->QueryInterface("IB"), nullptr);
  EXPECT_EQ(query<IA>(Ref<TavBaseUnknown>()), nullptr);
}

// Two complete types that place the same interfaces at different offsets, so a cast
// remembered for one type must not be reused for the other.
class Both final : public virtual IB, public virtual IA {
public:
  int A() const override { return 10 + pad_; }
  int B() const override { return 20 + pad_; }
  int pad_ = 0;
};
class Wide final : public virtual IA {
public:
  char filler[40] = {};
  int A() const override { return 30; }
};

TEST(Query, RememberedCastsStayPerCompleteType) {
  for (int round = 0; round < 3; ++round) {  // the first round fills what later rounds reuse
    Ref<TavBaseUnknown> both = std::make_shared<Both>(), wide = std::make_shared<Wide>(), obj = std::make_shared<Obj>();
    ASSERT_TRUE(query<IA>(both) && query<IB>(both));
    EXPECT_EQ(query<IA>(both)->A(), 10);
    EXPECT_EQ(query<IB>(both)->B(), 20);
    EXPECT_EQ(query<IA>(wide)->A(), 30);
    EXPECT_EQ(query<IA>(obj)->A(), 1);
    EXPECT_EQ(TavCast<IB>(wide), nullptr);  // a remembered failure stays a failure
    EXPECT_EQ(TavCast<Both>(obj), nullptr);
    // The handle shares ownership with the object it came from.
    Ref<IA> a = query<IA>(both);
    both.reset();
    EXPECT_EQ(a->A(), 10);
  }
}

TEST(Lists, RemoveDuplicatesKeepsFirstOccurrence) {
  auto a = std::make_shared<Obj>(), b = std::make_shared<Obj>();
  std::vector<Ref<Obj>> v{a, b, a, b, a};
  RemoveDuplicates(v);
  EXPECT_EQ(v, (std::vector<Ref<Obj>>{a, b}));
  std::vector<Ref<Obj>> big;
  for (int i = 0; i < 100; ++i) big.push_back(i % 2 ? a : b);
  RemoveDuplicates(big);
  EXPECT_EQ(big, (std::vector<Ref<Obj>>{b, a}));
  std::vector<TavUnicodeString> s{"x", "y", "x"};
  RemoveDuplicates(s);
  EXPECT_EQ(s, (std::vector<TavUnicodeString>{"x", "y"}));
}

TEST(Services, WithoutHostFallBackSafely) {
  // Subsystem code may run without a host: no editor, fallback texts, memory repositories.
  ASSERT_EQ(TavHostServices::Get(), nullptr);
  EXPECT_EQ(TavFrmEditor::GetCurrentEditor(), nullptr);
  EXPECT_EQ(TavMsgCatalog::BuildMessage("Cat", "Key", {"one", "ten"}, "got /P1 and /P2"), "got one and ten");
  auto& r = TavSettingRepository::GetRepository("Test");
  r.Write("flag", true);
  EXPECT_TRUE(TavSettingRepository::GetRepository("Test").ReadBool("flag", false));
  EXPECT_EQ(r.ReadInt("missing", 7), 7);
  EXPECT_EQ(r.ReadString("flag", "def"), "def");  // wrong type reads as the default
}

TEST(Services, ParametersDoNotEatLongerTags) {
  std::vector<TavUnicodeString> p;
  for (int i = 1; i <= 10; ++i) p.push_back("v" + std::to_string(i));
  EXPECT_EQ(TavSubstituteParameters("/P10|/P1", p), "v10|v1");
  EXPECT_EQ(TavSubstituteParameters("/P1 /P2", {"/P2"}), "/P2 /P2");  // substituted text is not rescanned
}

TEST(Selection, PathsCompareByObjectIdentity) {
  auto a = std::make_shared<Obj>(), b = std::make_shared<Obj>();
  TavSelectionSet hso("HSO");
  hso.AddElement(TavPathElement({a, b}));
  hso.AddElement(TavPathElement({a, b}));  // the same path once
  hso.AddElement(TavPathElement());        // an empty path is no selection
  EXPECT_EQ(hso.GetSize(), 1);
  EXPECT_TRUE(hso.ContainsObject(b));
  EXPECT_FALSE(hso.ContainsObject(a));
  EXPECT_TRUE(hso.RemoveElement(TavPathElement({a, b})));
  EXPECT_EQ(hso.GetSize(), 0);
  // Two paths ending at one object: the object stays selected until both are gone.
  auto c = std::make_shared<Obj>();
  hso.AddElement(TavPathElement({a, b}));
  hso.AddElement(TavPathElement({c, b}));
  EXPECT_EQ(hso.GetSize(), 2);
  EXPECT_FALSE(hso.Contains(TavPathElement({b})));
  EXPECT_TRUE(hso.RemoveElement(TavPathElement({a, b})));
  EXPECT_FALSE(hso.RemoveElement(TavPathElement({a, b})));
  EXPECT_TRUE(hso.ContainsObject(b));
  EXPECT_TRUE(hso.RemoveElement(TavPathElement({c, b})));
  EXPECT_FALSE(hso.ContainsObject(b));
  hso.AddElement(TavPathElement({c, b}));
  hso.Empty();
  EXPECT_FALSE(hso.ContainsObject(b));
  TavPathElement p({a, b});
  EXPECT_EQ(p.GetFatherOfLeaf(), a);
  EXPECT_EQ(p.SearchFromLeaf<IA>(), b);
  EXPECT_EQ(p.SearchFromTop<IA>(), a);
}

}  // namespace
