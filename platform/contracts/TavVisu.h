#pragma once
// The host's viewer as commands reach it: a product's or resource's 3D
// representation (palette colour, colour inheritance, opacity), its show
// attribute and own stored colour, and the visualisation manager that commits
// a batch of changes to the viewers.
#include "TavPPR.h"

// Colour inheritance flags: the representation's own colour and opacity win over
// its father's. The host's default, and what colouring and restoring set.
inline constexpr int kTavInheritOwnColour = 4100;
// The host's default state of a representation.
inline constexpr int kTavDefaultColour = 0;  // the palette's neutral grey
inline constexpr int kTavOpaque = 255;

// The 3D representation of a product or resource.
class TavI3DGeoVisu : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavI3DGeoVisu);
  // Palette index 0 to 255; E_FAIL (nothing changed) outside.
  virtual int GetColorIndex() const = 0;
  virtual HRESULT SetColorIndex(int index) = 0;
  virtual int GetInheritance() const = 0;
  virtual HRESULT SetInheritance(int flags) = 0;
  // 0 (transparent) to 255 (opaque); E_FAIL outside.
  virtual int GetOpacity() const = 0;
  virtual HRESULT SetOpacity(int opacity) = 0;
  // Redraws the representation in every graphic window of the current editor.
  virtual void Redraw() = 0;
};

// The visualisation properties of a product or resource.
class TavIVisProperties : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIVisProperties);
  virtual bool IsShown() const = 0;
  // The show / no-show attribute; S_FALSE when it already was so.
  virtual HRESULT SetShow(bool shown) = 0;
  // The colour stored with the product itself (its design colour), a palette index.
  virtual int GetStoredColor() const = 0;
  // Tells the other views that the visualisation properties changed.
  virtual void SendVisPropertiesChange() = 0;
  // Tells the other views that the object's model changed (its colour was restored).
  virtual void SendModelModification() = 0;
};

// The visualisation manager of a document (a root container): pushes what changed
// since the last commit to the viewers.
class TavIVisuManager : public virtual TavBaseUnknown {
public:
  TAV_INTERFACE(TavIVisuManager);
  virtual void Commit() = 0;
};

inline Ref<TavIVisuManager> TavVisuManagerOf(const Ref<TavDocument>& doc) {
  return doc ? query<TavIVisuManager>(doc->GetRootContainer(TavIVisuManager::kInterfaceName)) : nullptr;
}

void TavDeclareVisuInterfaces();
