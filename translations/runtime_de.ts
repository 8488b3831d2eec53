<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>frmRuntimeNotice</name>
    <message>
        <source>Installing Quorvex...Please Wait</source>
        <translation>Quorvex wird installiert...Bitte warten</translation>
    </message>
    <message>
        <source>Quorvex</source>
        <translation>Quorvex</translation>
    </message>
</context>
</TS>
