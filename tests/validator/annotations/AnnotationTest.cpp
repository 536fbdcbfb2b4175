// Annotation texts and severities, and the collections that hold them.

#include <gtest/gtest.h>

#include "validator/annotations/AnnotationCollection.hpp"

using namespace jsv;

TEST(AnnotationTexts, ErrorKinds) {
  EXPECT_EQ(Annotation{ConstantMismatch{"x"}}.text(), "This value must be equal to 'x'.");
  EXPECT_EQ((Annotation{NotInEnumeration{{"a", "b"}}}.text()), "This value must be equal to one of the following: 'a', 'b'.");
  EXPECT_EQ(Annotation{NotInEnumeration{{}}}.text(), "This value must be equal to one of the following.");
  EXPECT_EQ((Annotation{MoreThanOneAlternative{"a", "b"}}.text()), "Only one of the following two items is allowed: 'a', 'b'.");
  EXPECT_EQ(Annotation{BelowMinimum{0}}.text(), "This value must be greater than or equal to 0.000000.");
  EXPECT_EQ(Annotation{NotAboveExclusiveMinimum{1.5}}.text(), "This value must be greater than 1.500000.");
  EXPECT_EQ(Annotation{AboveMaximum{-2.25}}.text(), "This value must be less than or equal to -2.250000.");
  EXPECT_EQ(Annotation{NotBelowExclusiveMaximum{1e-7}}.text(), "This value must be less than 0.000000.");
  EXPECT_EQ(Annotation{WrongType{1}}.text(), "This value must be an integer.");
  EXPECT_EQ(Annotation{WrongType{2}}.text(), "This value must be a number.");
  EXPECT_EQ(Annotation{WrongType{3}}.text(), "This value must be a string.");
  EXPECT_EQ(Annotation{WrongType{4}}.text(), "This value must be an object.");
  EXPECT_EQ(Annotation{WrongType{5}}.text(), "This value must be an array.");
  EXPECT_EQ(Annotation{WrongType{6}}.text(), "This value must be a boolean.");
  EXPECT_EQ(Annotation{WrongType{7}}.text(), "This value must be of a different type.");
  EXPECT_EQ(Annotation{RequiredMemberMissing{}}.text(), "This item is required but missing.");
  EXPECT_EQ(Annotation{NoAlternativePresent{{"a"}}}.text(), "One of the following items must be provided: 'a'.");
  EXPECT_EQ((Annotation{ReferenceMismatch{"name", "/L"}}.text()), "This value must match a 'name' in '/L'.");
  EXPECT_EQ(Annotation{InvalidItem{}}.text(), "This item is invalid.");
  for (const Annotation& error : {Annotation{ConstantMismatch{"x"}}, Annotation{WrongType{1}}, Annotation{InvalidItem{}}})
    EXPECT_EQ(error.severity(), Severity::Error);
}

TEST(AnnotationTexts, WarningAndInformationalKinds) {
  EXPECT_EQ(Annotation{IgnoredMember{}}.text(), "The value of this item will not be used.");
  EXPECT_EQ(Annotation{IgnoredMember{}}.severity(), Severity::Warning);
  for (const Annotation& note : {Annotation{TypeNote{1}}, Annotation{AllowedValuesNote{{"a"}}}, Annotation{FormatNote{"uri"}},
                                 Annotation{DescriptionNote{"d"}}, Annotation{DefaultNote{nlohmann::json(0)}},
                                 Annotation{MembersNote{{"a"}}}}) {
    EXPECT_EQ(note.severity(), Severity::Informational);
    EXPECT_EQ(note.text(), "");
  }
}

TEST(AnnotationCollections, FirstAnnotationPerPointerWins) {
  AnnotationCollection annotations;
  annotations.add(JsonPointer("/a"), Annotation{WrongType{3}});
  annotations.add(JsonPointer("/a"), Annotation{IgnoredMember{}});
  EXPECT_EQ(annotations.format(), "/a: Error: This value must be a string.");
  EXPECT_EQ(annotations.count(Severity::Error), 1u);
  EXPECT_EQ(annotations.count(Severity::Warning), 0u);
}

TEST(AnnotationCollections, UnfilteredNotesOccupyTheirPointerFilteredOnesDoNot) {
  AnnotationCollection plain;
  FilteredAnnotationCollection<IssueFilter> filtered;
  for (AbstractAnnotationCollection* annotations : {static_cast<AbstractAnnotationCollection*>(&plain),
                                                    static_cast<AbstractAnnotationCollection*>(&filtered)}) {
    annotations->add(JsonPointer("/a"), Annotation{TypeNote{3}});
    annotations->add(JsonPointer("/a"), Annotation{WrongType{3}});
  }
  EXPECT_EQ(plain.format(), "");
  EXPECT_EQ(plain.count(Severity::Informational), 1u);
  EXPECT_EQ(filtered.format(), "/a: Error: This value must be a string.");
  EXPECT_EQ(filtered.count(Severity::Informational), 0u);
}

TEST(AnnotationCollections, LinesSortedByPointerTextRootFirst) {
  FilteredAnnotationCollection<IssueFilter> annotations;
  for (const char* pointer : {"/b", "/a/2", "/a/10", "/a~1b", "", "/a-b"})
    annotations.add(JsonPointer(pointer), Annotation{IgnoredMember{}});
  EXPECT_EQ(annotations.format(),
            "/: Warning: The value of this item will not be used.\n"
            "/a-b: Warning: The value of this item will not be used.\n"
            "/a/10: Warning: The value of this item will not be used.\n"
            "/a/2: Warning: The value of this item will not be used.\n"
            "/a~1b: Warning: The value of this item will not be used.\n"
            "/b: Warning: The value of this item will not be used.");
  EXPECT_EQ(annotations.count(Severity::Warning), 6u);
}

TEST(PointerTexts, RootAndEscapes) {
  EXPECT_EQ(pointerText(JsonPointer()), "/");
  EXPECT_EQ(pointerText(JsonPointer() / "a/b" / "c~d" / 3), "/a~1b/c~0d/3");
  EXPECT_EQ(pointerText(JsonPointer() / ""), "/");
}
