// A document with items of every kind, frame members, varied fonts and 4-, 8- and 24-bit
// pictures, for the document and command-line tests.
#pragma once

#include "document/DocumentFile.h"
#include "support/BmpFixtures.h"

inline TFont SampleFont(int i) {
    TFont f;
    f.Color = 0x102030 * (i + 1);
    f.Height = -37 - i;
    f.Name = i % 2 ? "Liberation Serif" : "Arial \xC1rv\xEDzt\xFBr\xF5"; // code page 1250
    f.Pitch = static_cast<TFontPitch>(i % 3);
    f.Style = static_cast<uint8_t>((i * 5) & 0x0F);
    return f;
}

inline TDocumentData SampleDocument() {
    TDocumentData d;
    d.PageWidthMm = 210;
    d.PageHeightMm = 297;
    TPageSettings& s = d.PageSettings;
    s.BasePageRect = {1, 2, 3, 4};
    s.ClickThroughArea = {10, 20, 110, 80};
    s.PageBorderRect = {5, 6, 205, 291};
    s.HeightsLegendRect = {7, 8, 17, 88};
    s.HeightsLegendExtent = {-9, 10, 11, -12};
    s.PageBorderVisible = true;
    s.HeightsLegendVisible = true;
    s.HeightsLegendFontMm = 6;
    s.HeightsLegendOrientation = 1;
    s.PageBorderColor = 0x00ABCDEF;
    s.ScaleBarVisible = true;
    s.ScaleBarPos = {5, 5, 0, 5, -1, 2147483647};

    for (int i = 0; i < 3; ++i) {
        auto c = std::make_unique<TNyomtatoSzoveg>();
        c->Text = i == 0 ? "" : "Felirat \xE1\xE9 " + std::to_string(i);
        c->Rect = {10 * i, 20, 10 * i + 30, 28};
        c->Font = SampleFont(i);
        c->FontHeightMm = -4 - i;
        c->FillBackground = i == 1;
        c->ScaleCaption = i == 2;
        c->TextLocked = i >= 1;
        d.Items.Captions.Add(std::move(c));
    }
    const TBmpShape pictures[] = {{5, 3, 4}, {6, 2, 8}, {3, 3, 24}};
    for (int i = 0; i < 3; ++i) {
        auto k = std::make_unique<TNyomtatoKep>();
        k->Rect = {30, 40 + 10 * i, 60, 48 + 10 * i};
        k->FileName = "C:\\K\xE9pek\\pic" + std::to_string(i) + ".bmp";
        k->Picture->LoadFromBitmapFileData(MakeBmp(pictures[i]));
        k->Picture->JpegQuality = 60 + i;
        d.Items.Images.Add(std::move(k));
    }
    auto noPicture = std::make_unique<TNyomtatoKep>(); // a fresh picture: stored without data
    noPicture->FileName = "missing.bmp";
    d.Items.Images.Add(std::move(noPicture));
    for (int i = 0; i < 2; ++i) {
        auto f = std::make_unique<TNyomtatoKeret>();
        f->Rect = {0, 0, 150 - i, 100 - i};
        f->Shadow = i == 0;
        f->BorderColor = 0x0000FF + i;
        f->FillColor = 0xEEEEEE;
        f->FillStyle = static_cast<uint8_t>(i * 6);
        f->Title = i == 0 ? "Keret" : "";
        f->TitleAlignment = i + 1;
        f->TitleFont = SampleFont(i + 3);
        if (i == 0) {
            f->Members.AddReference(ikCaption, 2);
            f->Members.AddReference(ikImage, 1);
            f->Members.AddReference(ikFrame, 1);
            f->Members.AddReference(ikPolygon, 0);
        }
        d.Items.Frames.Add(std::move(f));
    }
    auto t = std::make_unique<TNyomtatoSorok>();
    t->Text = "first line\r\nsecond line\r\n\xF5";
    t->Rect = {50, 60, 90, 75};
    t->Font = SampleFont(5);
    t->FontHeightMm = 4;
    t->LineCount = 3;
    t->FillBackground = true;
    d.Items.Texts.Add(std::move(t));
    for (int i = 0; i < 2; ++i) {
        auto l = std::make_unique<TNyomtatoVonal>();
        for (int p = 0; p <= i + 1; ++p) l->AddPoint(p * 7, -p * 3);
        l->Color = 0x00FF00 + i;
        l->Width = 3 + i;
        l->PenStyle = static_cast<uint8_t>(i + 2);
        d.Items.Lines.Add(std::move(l));
    }
    auto r = std::make_unique<TNyomtatoNegyszog>();
    r->Rect = {1, 1, 11, 11};
    r->Color = 0x123456;
    d.Items.Rectangles.Add(std::move(r));
    auto p = std::make_unique<TNyomtatoPoligon>();
    p->AddPoint(100, 100);
    p->AddPoint(200, 100);
    p->AddPoint(150, 180);
    p->Color = 0x654321;
    d.Items.Polygons.Add(std::move(p));
    d.Compass = TCompass{true, {120, 140}, 15, true};
    return d;
}
