#include <gtest/gtest.h>

#include <QPainter>

#include "VelCustomBevelPanel.h"
#include "VelGraphicControl.h"
#include "VelThemes.h"

namespace {

class TFakeRenderer : public TVelNativeRenderer {
public:
    bool usable = true;
    int drawn = 0;
    bool Usable() const override { return usable; }
    void DrawElement(QPainter&, const TVelThemedDetails&, const QRect&) override { ++drawn; }
    QRect ContentRect(const TVelThemedDetails&, const QRect& r) override { return r.adjusted(3, 3, -3, -3); }
    void DrawText(QPainter&, const TVelThemedDetails& d, const QString&, unsigned, const QRect&) override
    {
        lastElement = d.Element;
    }
    TVelThemedElement lastElement = TVelThemedElement::Edit;
};

} // namespace

TEST(VelThemes, WithoutPlatformThemesEveryRequestResolvesToClassic)
{
    TVelThemeServices services;
    ASSERT_TRUE(VelApplication()->ThemesEnabled());
    EXPECT_FALSE(VelApplication()->ThemesActive()) << "the application object and the services must agree";
    EXPECT_FALSE(services.ThemesActive());
    for (TVelThemeMode m : {ttmNone, ttmPlatform, ttmNative})
        EXPECT_EQ(services.ResolveThemeMode(m), ttmNone) << m;
    QImage image(4, 4, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_FALSE(services.DrawEdit(ttmPlatform, painter, tesNormal, QRect(0, 0, 4, 4))) << "caller draws classically";
    EXPECT_EQ(services.ContentRect(ttmPlatform, {}, QRect(0, 0, 4, 4)), QRect(0, 0, 4, 4));
}

TEST(VelThemes, ANativeRendererAnswersOnlyNativeRequestsWhileUsable)
{
    TVelThemeServices services;
    auto owned = std::make_unique<TFakeRenderer>();
    TFakeRenderer* renderer = owned.get();
    services.RegisterRenderer(std::move(owned));
    EXPECT_EQ(services.ResolveThemeMode(ttmNative), ttmNative);
    EXPECT_EQ(services.ResolveThemeMode(ttmPlatform), ttmNone);
    QImage image(4, 4, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_TRUE(services.DrawSpin(ttmNative, painter, tspUp, 0, QRect(0, 0, 4, 4)));
    EXPECT_FALSE(services.DrawSpin(ttmPlatform, painter, tspUp, 0, QRect(0, 0, 4, 4)));
    EXPECT_EQ(renderer->drawn, 1);
    EXPECT_EQ(services.ContentRect(ttmNative, {}, QRect(0, 0, 10, 10)), QRect(3, 3, 4, 4));
    services.DrawText(ttmNative, painter, {TVelThemedElement::ToolBar, 1, 4}, "x", 0, QRect());
    EXPECT_EQ(renderer->lastElement, TVelThemedElement::Button) << "toolbar text in state 4 draws as a button";
    renderer->usable = false;
    EXPECT_EQ(services.ResolveThemeMode(ttmNative), ttmNone) << "then it behaves exactly like ttmPlatform";
}

TEST(VelThemes, ControlsResolveTheirOwnOrTheGlobalMode)
{
    TVelCustomBevelPanel panel;
    EXPECT_EQ(panel.ThemeMode(), ttmPlatform);
    EXPECT_FALSE(panel.IsThemed());
    panel.SetThemeGlobalMode(true);
    panel.SetThemeMode(ttmNone);
    EXPECT_EQ(panel.EffectiveThemeMode(), ttmNone);
    TVelGraphicControl graphic;
    EXPECT_EQ(graphic.ThemeMode(), ttmNone);
    EXPECT_FALSE(graphic.IsThemed());

    panel.SetCtlXP(true);
    EXPECT_EQ(panel.ThemeMode(), ttmPlatform);
    panel.SetCtlXP(false);
    EXPECT_EQ(panel.ThemeMode(), ttmNone) << "CtlXP false in an old form means no theme";
}

TEST(VelThemes, ThemeChangeIsLeftToTheControlsWhileThemesAreInactive)
{
    TVelThemeServices services;
    services.ThemeChanged();
    EXPECT_FALSE(services.SystemThemeChanging());
}
