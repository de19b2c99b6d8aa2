<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>About</name>
    <message>
        <source>About %1</source>
        <translation>关于 %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>版本 %1</translation>
    </message>
    <message>
        <source>Sets up the Tarrow Lark 8k gaming mouse: CPI levels, polling rate, click filters and what each button does. The settings are kept in the mouse.</source>
        <translation>设置 Tarrow Lark 8k 游戏鼠标：CPI 档位、回报率、点击过滤以及每个按键的功能。设置保存在鼠标中。</translation>
    </message>
    <message>
        <source>Free software under the MIT licence. Copyright © 2026 the lark-config developers.</source>
        <translation>自由软件，采用 MIT 许可证。版权所有 © 2026 lark-config 开发者。</translation>
    </message>
</context>
<context>
    <name>Actions</name>
    <message>
        <source>LEFT CLICK</source>
        <translation>左键单击</translation>
    </message>
    <message>
        <source>RIGHT CLICK</source>
        <translation>右键单击</translation>
    </message>
    <message>
        <source>MIDDLE CLICK</source>
        <translation>中键单击</translation>
    </message>
    <message>
        <source>FORWARD</source>
        <translation>前进</translation>
    </message>
    <message>
        <source>BACK</source>
        <translation>后退</translation>
    </message>
    <message>
        <source>SCROLL UP</source>
        <translation>向上滚动</translation>
    </message>
    <message>
        <source>SCROLL DOWN</source>
        <translation>向下滚动</translation>
    </message>
    <message>
        <source>CPI LOOP</source>
        <translation>CPI 循环</translation>
    </message>
    <message>
        <source>PLAY/PAUSE</source>
        <translation>播放/暂停</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>下一曲</translation>
    </message>
    <message>
        <source>PREVIOUS</source>
        <translation>上一曲</translation>
    </message>
    <message>
        <source>MUTE</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>VOLUME UP</source>
        <translation>音量增大</translation>
    </message>
    <message>
        <source>VOLUME DOWN</source>
        <translation>音量减小</translation>
    </message>
    <message>
        <source>BROWSER</source>
        <translation>浏览器</translation>
    </message>
    <message>
        <source>EXPLORER</source>
        <translation>文件管理器</translation>
    </message>
    <message>
        <source>DISABLE</source>
        <translation>禁用</translation>
    </message>
    <message>
        <source>CPI: %1</source>
        <translation>CPI：%1</translation>
    </message>
    <message>
        <source>X: %1, Y: %2</source>
        <translation>X：%1，Y：%2</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Puts every setting of the mouse back to how it left the factory.</source>
        <translation>将鼠标的所有设置恢复为出厂状态。</translation>
    </message>
    <message>
        <source>Sends the changed settings to the mouse, which keeps them (Ctrl+S).</source>
        <translation>将更改的设置发送到鼠标并由鼠标保存（Ctrl+S）。</translation>
    </message>
    <message>
        <source>Lets each CPI level have its own horizontal (X) and vertical (Y) speed. Off, both directions share one value.</source>
        <translation>让每个 CPI 档位拥有各自的水平（X）和垂直（Y）速度。关闭时两个方向共用一个数值。</translation>
    </message>
    <message>
        <source>Horizontal (X). </source>
        <translation>水平（X）。</translation>
    </message>
    <message>
        <source>Vertical (Y). </source>
        <translation>垂直（Y）。</translation>
    </message>
    <message>
        <source>Press the key the mouse button should send; its name shows here.</source>
        <translation>按下鼠标按键要发送的键，键名会显示在这里。</translation>
    </message>
    <message>
        <source>Also holds Shift, so the button sends Shift with the key.</source>
        <translation>同时按住 Shift，按键会连同 Shift 一起发送。</translation>
    </message>
    <message>
        <source>Also holds Ctrl, so the button sends Ctrl with the key.</source>
        <translation>同时按住 Ctrl，按键会连同 Ctrl 一起发送。</translation>
    </message>
    <message>
        <source>Also holds the Windows (Super) key, so the button sends it with the key.</source>
        <translation>同时按住 Windows（Super）键，按键会连同它一起发送。</translation>
    </message>
    <message>
        <source>Also holds Alt, so the button sends Alt with the key.</source>
        <translation>同时按住 Alt，按键会连同 Alt 一起发送。</translation>
    </message>
    <message>
        <source>Gives the button the key shown above with the ticked modifiers. Escape keeps what the button did before.</source>
        <translation>将上面显示的键和勾选的修饰键分配给该按键。按 Esc 保留原来的功能。</translation>
    </message>
    <message>
        <source>Lets the fixed CPI have its own horizontal (X) and vertical (Y) speed. Off, both directions share one value.</source>
        <translation>让固定 CPI 拥有各自的水平（X）和垂直（Y）速度。关闭时两个方向共用一个数值。</translation>
    </message>
    <message>
        <source>The CPI the button switches to, horizontal (X): %1.</source>
        <translation>按下该键时切换到的 CPI，水平（X）：%1。</translation>
    </message>
    <message>
        <source>The CPI the button switches to, vertical (Y): %1.</source>
        <translation>按下该键时切换到的 CPI，垂直（Y）：%1。</translation>
    </message>
    <message>
        <source>Gives the button this fixed CPI. Escape keeps what the button did before.</source>
        <translation>将此固定 CPI 分配给该按键。按 Esc 保留原来的功能。</translation>
    </message>
</context>
<context>
    <name>Keys</name>
    <message>
        <source>Left Button</source>
        <translation>鼠标左键</translation>
    </message>
    <message>
        <source>Right Button</source>
        <translation>鼠标右键</translation>
    </message>
    <message>
        <source>Middle Button</source>
        <translation>鼠标中键</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>退格</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Enter</source>
        <translation>Enter</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Caps Lock</source>
        <translation>Caps Lock</translation>
    </message>
    <message>
        <source>Esc</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>空格</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>Page Up</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>Page Down</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Left Arrow</source>
        <translation>左方向键</translation>
    </message>
    <message>
        <source>Up Arrow </source>
        <translation>上方向键 </translation>
    </message>
    <message>
        <source>Right Arrow</source>
        <translation>右方向键</translation>
    </message>
    <message>
        <source>Down Arrow</source>
        <translation>下方向键</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Execute</source>
        <translation>Execute</translation>
    </message>
    <message>
        <source>Print Screen</source>
        <translation>Print Screen</translation>
    </message>
    <message>
        <source>Ins</source>
        <translation>Ins</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Left Window</source>
        <translation>左 Windows</translation>
    </message>
    <message>
        <source>Right Window</source>
        <translation>右 Windows</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>应用程序键</translation>
    </message>
    <message>
        <source>Num Lock</source>
        <translation>Num Lock</translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation>Scroll Lock</translation>
    </message>
    <message>
        <source>Left Shift</source>
        <translation>左 Shift</translation>
    </message>
    <message>
        <source>Right Shift</source>
        <translation>右 Shift</translation>
    </message>
    <message>
        <source>Left Control</source>
        <translation>左 Ctrl</translation>
    </message>
    <message>
        <source>Right Control</source>
        <translation>右 Ctrl</translation>
    </message>
    <message>
        <source>Left Alt</source>
        <translation>左 Alt</translation>
    </message>
    <message>
        <source>Right Alt</source>
        <translation>右 Alt</translation>
    </message>
    <message>
        <source>Browser Back</source>
        <translation>浏览器后退</translation>
    </message>
    <message>
        <source>Browser Forward</source>
        <translation>浏览器前进</translation>
    </message>
    <message>
        <source>Browser Refresh</source>
        <translation>浏览器刷新</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>音量减小</translation>
    </message>
    <message>
        <source>Volume Up </source>
        <translation>音量增大 </translation>
    </message>
    <message>
        <source>Fn</source>
        <translation>Fn</translation>
    </message>
    <message>
        <source>Non-US #</source>
        <translation>非美式 #</translation>
    </message>
    <message>
        <source>Non-US \</source>
        <translation>非美式 \</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>电源</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Again</source>
        <translation>重复</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>剪切</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>粘贴</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Ro</source>
        <translation>Ro</translation>
    </message>
    <message>
        <source>Katakana/Hiragana</source>
        <translation>片假名/平假名</translation>
    </message>
    <message>
        <source>Yen</source>
        <translation>日元</translation>
    </message>
    <message>
        <source>Henkan</source>
        <translation>Henkan</translation>
    </message>
    <message>
        <source>Muhenkan</source>
        <translation>Muhenkan</translation>
    </message>
    <message>
        <source>Hangul</source>
        <translation>韩/英</translation>
    </message>
    <message>
        <source>Hanja</source>
        <translation>汉字</translation>
    </message>
    <message>
        <source>Katakana</source>
        <translation>片假名</translation>
    </message>
    <message>
        <source>Hiragana</source>
        <translation>平假名</translation>
    </message>
    <message>
        <source>Zenkaku/Hankaku</source>
        <translation>全角/半角</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Win</source>
        <translation>Win</translation>
    </message>
    <message>
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>Key %1</source>
        <translation>按键 %1</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>Tarrow Lark 8k Configuration Tool</source>
        <translation>Tarrow Lark 8k 配置工具</translation>
    </message>
</context>
<context>
    <name>Vocabulary</name>
    <message>
        <source>1mm</source>
        <translation>1mm</translation>
    </message>
    <message>
        <source>2mm</source>
        <translation>2mm</translation>
    </message>
    <message>
        <source>1000Hz</source>
        <translation>1000Hz</translation>
    </message>
    <message>
        <source>2000Hz</source>
        <translation>2000Hz</translation>
    </message>
    <message>
        <source>4000Hz</source>
        <translation>4000Hz</translation>
    </message>
    <message>
        <source>8000Hz</source>
        <translation>8000Hz</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>关</translation>
    </message>
    <message>
        <source>KV Speed Mode</source>
        <translation>KV 速度模式</translation>
    </message>
    <message>
        <source>KV Safe Mode</source>
        <translation>KV 安全模式</translation>
    </message>
    <message>
        <source>CPI level %1: how far the pointer moves for each inch the mouse moves, %2; X is horizontal, Y vertical. Higher is faster.</source>
        <translation>CPI 档位 %1：鼠标每移动一英寸指针移动的距离，%2；X 为水平，Y 为垂直。数值越高越快。</translation>
    </message>
    <message>
        <source>Multiclick filter of the %1: ignores the extra clicks a worn switch can send right after a real one. 0 to 25: higher filters more, but very fast double clicks may be lost.</source>
        <translation>%1的连击过滤：忽略磨损的微动在真实点击后紧接着产生的多余点击。0 到 25：数值越高过滤越多，但极快的双击可能会丢失。</translation>
    </message>
    <message>
        <source>Switch mode of the %1. OFF uses the multiclick filter; KV Speed Mode registers clicks fastest; KV Safe Mode guards best against double clicks.</source>
        <translation>%1的微动模式。关：使用连击过滤；KV 速度模式：点击响应最快；KV 安全模式：最能防止误双击。</translation>
    </message>
    <message>
        <source>What %1 does: a mouse click, a keyboard key, a CPI change, a media key, or nothing.</source>
        <translation>%1的功能：鼠标点击、键盘按键、切换 CPI、媒体键或无动作。</translation>
    </message>
    <message>
        <source>CPI Levels</source>
        <translation>CPI 档位</translation>
    </message>
    <message>
        <source>How many CPI levels the mouse&apos;s CPI button steps through (1 to 4).</source>
        <translation>鼠标的 CPI 键在几个 CPI 档位之间切换（1 到 4）。</translation>
    </message>
    <message>
        <source>CPI 1</source>
        <translation>CPI 1</translation>
    </message>
    <message>
        <source>CPI 2</source>
        <translation>CPI 2</translation>
    </message>
    <message>
        <source>CPI 3</source>
        <translation>CPI 3</translation>
    </message>
    <message>
        <source>CPI 4</source>
        <translation>CPI 4</translation>
    </message>
    <message>
        <source>LOD</source>
        <translation>LOD</translation>
    </message>
    <message>
        <source>Lift-off distance: how high the mouse can be lifted before it stops tracking (1 or 2 mm). Lower stops the pointer drifting when you lift and reposition it.</source>
        <translation>静默高度：鼠标抬起多高后停止追踪（1 或 2 毫米）。越低，抬起并重新放置鼠标时指针越不容易漂移。</translation>
    </message>
    <message>
        <source>Angle Snapping</source>
        <translation>直线修正</translation>
    </message>
    <message>
        <source>Straightens slightly shaky hand movements into straight lines. Most players leave it off, as it also bends small aiming corrections.</source>
        <translation>将略微抖动的手部移动修正为直线。大多数玩家保持关闭，因为它也会扭曲细小的瞄准修正。</translation>
    </message>
    <message>
        <source>Ripple Control</source>
        <translation>纹波控制</translation>
    </message>
    <message>
        <source>Smooths out pointer jitter at high CPI, at the cost of a tiny delay. Leave it off unless the pointer shakes at high CPI.</source>
        <translation>在高 CPI 下平滑指针抖动，代价是极小的延迟。除非高 CPI 下指针抖动，否则保持关闭。</translation>
    </message>
    <message>
        <source>Motion Sync</source>
        <translation>运动同步</translation>
    </message>
    <message>
        <source>Times the sensor&apos;s readings to the computer&apos;s polling for steadier tracking, with a slight delay. 8000 Hz is not offered while it is on.</source>
        <translation>使传感器的采样与电脑的轮询同步，追踪更平稳，但略有延迟。开启时不提供 8000 Hz。</translation>
    </message>
    <message>
        <source>Polling Rate</source>
        <translation>回报率</translation>
    </message>
    <message>
        <source>How many times a second the mouse reports to the computer, in Hz. Higher feels smoother but costs more CPU; try lower if games stutter.</source>
        <translation>鼠标每秒向电脑报告的次数，单位 Hz。越高越流畅，但占用更多 CPU；游戏卡顿时可尝试调低。</translation>
    </message>
    <message>
        <source>Slamclick Filter</source>
        <translation>防误触过滤</translation>
    </message>
    <message>
        <source>Ignores the false clicks that can happen when the mouse is slammed down or lifted quickly.</source>
        <translation>忽略鼠标被猛然放下或快速抬起时可能产生的误点击。</translation>
    </message>
    <message>
        <source>Left Button SPDT</source>
        <translation>左键 SPDT</translation>
    </message>
    <message>
        <source>left button</source>
        <translation>左键</translation>
    </message>
    <message>
        <source>Right Button SPDT</source>
        <translation>右键 SPDT</translation>
    </message>
    <message>
        <source>right button</source>
        <translation>右键</translation>
    </message>
    <message>
        <source>Left Button Multiclick Filter</source>
        <translation>左键连击过滤</translation>
    </message>
    <message>
        <source>Right Button Multiclick Filter</source>
        <translation>右键连击过滤</translation>
    </message>
    <message>
        <source>Middle Button Multiclick Filter</source>
        <translation>中键连击过滤</translation>
    </message>
    <message>
        <source>middle button</source>
        <translation>中键</translation>
    </message>
    <message>
        <source>Forward Button Multiclick Filter</source>
        <translation>前进键连击过滤</translation>
    </message>
    <message>
        <source>forward button</source>
        <translation>前进键</translation>
    </message>
    <message>
        <source>Back Button Multiclick Filter</source>
        <translation>后退键连击过滤</translation>
    </message>
    <message>
        <source>back button</source>
        <translation>后退键</translation>
    </message>
    <message>
        <source>Left-handed Mode</source>
        <translation>左手模式</translation>
    </message>
    <message>
        <source>Swaps the two main buttons for left-handed use: the right button clicks, and the left button takes the action the right one had.</source>
        <translation>为左手使用交换两个主按键：右键执行单击，左键接管右键原来的功能。</translation>
    </message>
    <message>
        <source>Left Button</source>
        <translation>左键</translation>
    </message>
    <message>
        <source>the left button (in left-handed mode; otherwise it gives LEFT CLICK)</source>
        <translation>左键（左手模式下；否则为左键单击）</translation>
    </message>
    <message>
        <source>Right Button</source>
        <translation>右键</translation>
    </message>
    <message>
        <source>the right button (in right-handed mode; otherwise it gives LEFT CLICK)</source>
        <translation>右键（右手模式下；否则为左键单击）</translation>
    </message>
    <message>
        <source>Middle Button</source>
        <translation>中键</translation>
    </message>
    <message>
        <source>the middle button (pressing the wheel)</source>
        <translation>中键（按下滚轮）</translation>
    </message>
    <message>
        <source>Forward Button</source>
        <translation>前进键</translation>
    </message>
    <message>
        <source>the forward side button</source>
        <translation>前侧键</translation>
    </message>
    <message>
        <source>Back Button</source>
        <translation>后退键</translation>
    </message>
    <message>
        <source>the back side button</source>
        <translation>后侧键</translation>
    </message>
    <message>
        <source>Wheel Up</source>
        <translation>滚轮向上</translation>
    </message>
    <message>
        <source>scrolling the wheel up</source>
        <translation>向上滚动滚轮</translation>
    </message>
    <message>
        <source>Wheel Down</source>
        <translation>滚轮向下</translation>
    </message>
    <message>
        <source>scrolling the wheel down</source>
        <translation>向下滚动滚轮</translation>
    </message>
    <message>
        <source>%1 to %2 in steps of %3</source>
        <translation>%1 到 %2，步长 %3</translation>
    </message>
</context>
<context>
    <name>lark::AdvancedSettingsPage</name>
    <message>
        <source>SPDT:</source>
        <translation>SPDT:</translation>
    </message>
    <message>
        <source>Enter an integer between 0 and 255.</source>
        <translation>请输入 0 到 255 之间的整数。</translation>
    </message>
</context>
<context>
    <name>lark::BasicSettingsPage</name>
    <message>
        <source>X/Y Settings</source>
        <translation>X/Y 分离</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X：</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y：</translation>
    </message>
</context>
<context>
    <name>lark::ButtonMappingPage</name>
    <message>
        <source>MOUSE</source>
        <translation>鼠标</translation>
    </message>
    <message>
        <source>KEYBOARD KEY</source>
        <translation>键盘按键</translation>
    </message>
    <message>
        <source>CPI</source>
        <translation>CPI</translation>
    </message>
    <message>
        <source>FIXED CPI</source>
        <translation>固定 CPI</translation>
    </message>
    <message>
        <source>MEDIA</source>
        <translation>媒体</translation>
    </message>
</context>
<context>
    <name>lark::CpiPairGroup</name>
    <message>
        <source>Enter a positive integer.</source>
        <translation>请输入正整数。</translation>
    </message>
</context>
<context>
    <name>lark::FixedCpiDialog</name>
    <message>
        <source>FIXED CPI</source>
        <translation>固定 CPI</translation>
    </message>
    <message>
        <source>X/Y Settings</source>
        <translation>X/Y 分离</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X：</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>lark::KeyCaptureDialog</name>
    <message>
        <source>KEYBOARD KEY</source>
        <translation>键盘按键</translation>
    </message>
    <message>
        <source>Enter a key:</source>
        <translation>请按键：</translation>
    </message>
    <message>
        <source>SHIFT</source>
        <translation>SHIFT</translation>
    </message>
    <message>
        <source>CTRL</source>
        <translation>CTRL</translation>
    </message>
    <message>
        <source>WIN</source>
        <translation>WIN</translation>
    </message>
    <message>
        <source>ALT</source>
        <translation>ALT</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>hook failed.</source>
        <translation>键盘捕获失败。</translation>
    </message>
    <message>
        <source>This key cannot be assigned.</source>
        <translation>此键无法分配。</translation>
    </message>
</context>
<context>
    <name>lark::MainWindow</name>
    <message>
        <source>Looking for the mouse…</source>
        <translation>正在查找鼠标…</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>正在连接…</translation>
    </message>
    <message>
        <source>Reading the mouse&apos;s settings…</source>
        <translation>正在读取鼠标设置…</translation>
    </message>
    <message>
        <source>Applying…</source>
        <translation>正在应用…</translation>
    </message>
    <message>
        <source>Restoring factory settings…</source>
        <translation>正在恢复出厂设置…</translation>
    </message>
    <message>
        <source>Settings applied.</source>
        <translation>设置已应用。</translation>
    </message>
    <message>
        <source>The mouse did not accept the settings. Press APPLY to try again.</source>
        <translation>鼠标未接受设置。请按“应用”重试。</translation>
    </message>
    <message>
        <source>Mouse not found. Check that it is plugged in.</source>
        <translation>未找到鼠标。请检查是否已插好。</translation>
    </message>
    <message>
        <source>Waiting for the mouse: plug it in and it will be found by itself (F5 looks again).</source>
        <translation>正在等待鼠标：插入后会自动找到（按 F5 重新查找）。</translation>
    </message>
    <message>
        <source>The mouse is here, but held by another program: close that program and press F5 to try again.</source>
        <translation>已找到鼠标，但被另一个程序占用：请关闭该程序，然后按 F5 重试。</translation>
    </message>
    <message>
        <source>The mouse is here, but permission denied: install the udev rule (README, &quot;Using the real mouse&quot;) and replug it.</source>
        <translation>已找到鼠标，但没有访问权限：请安装 udev 规则（README，“Using the real mouse”）并重新插入。</translation>
    </message>
    <message>
        <source>Factory settings restored.</source>
        <translation>已恢复出厂设置。</translation>
    </message>
    <message>
        <source>The factory reset could not be sent to the mouse.</source>
        <translation>无法向鼠标发送恢复出厂设置命令。</translation>
    </message>
    <message>
        <source>The mouse did not confirm the factory reset; its settings may be unchanged.</source>
        <translation>鼠标未确认恢复出厂设置，其设置可能未改变。</translation>
    </message>
    <message>
        <source>The mouse&apos;s settings could not be read. Press F5 to try again.</source>
        <translation>无法读取鼠标设置。请按 F5 重试。</translation>
    </message>
    <message>
        <source>The mouse&apos;s settings could not be read, so nothing was written. Press APPLY to try again.</source>
        <translation>无法读取鼠标设置，因此未写入任何内容。请按“应用”重试。</translation>
    </message>
    <message>
        <source>Nothing was written: correct the value on the page first.</source>
        <translation>未写入任何内容：请先更正页面上的数值。</translation>
    </message>
    <message>
        <source>The mouse was unplugged. Plug it in again and it will be found by itself.</source>
        <translation>鼠标已拔出。重新插入后会自动找到。</translation>
    </message>
    <message>
        <source>The polling rate was changed with the mouse&apos;s button; the mouse keeps it.</source>
        <translation>已通过鼠标上的按键更改回报率，鼠标会保存该设置。</translation>
    </message>
    <message>
        <source>Profile loaded. Press APPLY to send it to the mouse.</source>
        <translation>配置文件已载入。请按“应用”发送到鼠标。</translation>
    </message>
    <message>
        <source>Profile saved.</source>
        <translation>配置文件已保存。</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>Firmware Version :</source>
        <translation>固件版本：</translation>
    </message>
    <message>
        <source>Software Version :</source>
        <translation>软件版本：</translation>
    </message>
    <message>
        <source>Factory Reset</source>
        <translation>恢复出厂</translation>
    </message>
    <message>
        <source>APPLY</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Read settings again</source>
        <translation>重新读取设置</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Save profile…</source>
        <translation>保存配置文件…</translation>
    </message>
    <message>
        <source>Load profile…</source>
        <translation>载入配置文件…</translation>
    </message>
    <message>
        <source>About…</source>
        <translation>关于…</translation>
    </message>
    <message>
        <source>Basic Settings</source>
        <translation>基本设置</translation>
    </message>
    <message>
        <source>Advanced Settings</source>
        <translation>高级设置</translation>
    </message>
    <message>
        <source>Button Mapping</source>
        <translation>按键映射</translation>
    </message>
    <message>
        <source>RegisterDeviceNotification Failed!</source>
        <translation>设备通知注册失败！</translation>
    </message>
    <message>
        <source>Discard the changes and read the mouse&apos;s settings again?</source>
        <translation>放弃更改并重新读取鼠标设置？</translation>
    </message>
    <message>
        <source>Save profile</source>
        <translation>保存配置文件</translation>
    </message>
    <message>
        <source>Profiles (*.json);;All files (*)</source>
        <translation>配置文件 (*.json);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Load profile</source>
        <translation>载入配置文件</translation>
    </message>
    <message>
        <source>The profile was not saved.</source>
        <translation>配置文件未保存。</translation>
    </message>
    <message>
        <source>The profile was not loaded.</source>
        <translation>配置文件未载入。</translation>
    </message>
    <message>
        <source>Mouse not found, so nothing was sent; your changes are kept. Check that it is plugged in and try again.</source>
        <translation>未找到鼠标，因此未发送任何内容；您的更改已保留。请检查是否已插好，然后重试。</translation>
    </message>
</context>
</TS>
