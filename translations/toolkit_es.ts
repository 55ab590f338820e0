<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- Texts of the toolkit's file dialogs that its own Spanish translation
     (qtbase_es) lacks; installed with it. -->
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Drive</source>
        <translation>Unidad</translation>
    </message>
    <message>
        <source>Folder</source>
        <comment>All other platforms</comment>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Desconocido</translation>
    </message>
</context>
</TS>
