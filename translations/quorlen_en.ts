<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>Language</name>
    <message>
        <source>Español</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LanguageMenu</name>
    <message>
        <source>Idioma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idioma del sistema</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>un valor se sale de su intervalo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>una división por cero</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>una operación de coma flotante no válida</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un número demasiado grande para la coma flotante</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>el archivo no existe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no se puede leer el archivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>es una carpeta, no un archivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no es un archivo normal (es una tubería, un dispositivo o un conector)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>falta el nombre del archivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>es una carpeta, no un archivo normal: no se sobrescribe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>es un dispositivo, no un archivo normal: no se sobrescribe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>es una tubería, no un archivo normal: no se sobrescribe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>es un socket, no un archivo normal: no se sobrescribe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no es un archivo normal, no un archivo normal: no se sobrescribe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la superficie del archivo está incompleta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>grado %1 no admitido</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>grados %1 y %2 distintos no admitidos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>más de 12 × 12 puntos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>el número de nudos no corresponde al de puntos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la superficie del archivo tiene números no válidos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un peso no es positivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un peso es demasiado grande o demasiado pequeño</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nudos que las reglas no pueden representar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>falta el programa lector %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no se puede arrancar el lector de archivos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>El archivo está dañado o no se puede leer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esta compilación no lee ni escribe STEP ni IGES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>el archivo está vacío</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sin la primera fila ni la primera columna de la red, que no tienen tramo de nudos y no se dibujan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sin la primera fila de la red, que no tiene tramo de nudos y no se dibuja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sin la primera columna de la red, que no tiene tramo de nudos y no se dibuja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>los nudos no crecen de un extremo a otro de las reglas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hay números demasiado grandes o pequeños para el archivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>los nudos del archivo no son válidos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la superficie del archivo no tiene puntos de control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un punto de control falta o no es un punto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>un punto de control no tiene tres coordenadas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>superficie racional sin nudos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tipo de superficie B-spline no admitido</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la tabla de pesos no tiene el tamaño de la red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la superficie del archivo tiene datos que no se pueden leer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la unidad de longitud del archivo no es válida</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no es un archivo STEP legible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no es un archivo IGES legible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>el archivo no tiene ninguna superficie B-spline ni Bézier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la red es demasiado pequeña para el grado</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open CASCADE no construye una cara con esta superficie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open CASCADE no pudo escribir la superficie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open CASCADE: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>la superficie tiene puntos que no son números finitos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hay coordenadas de más de 3.4E38, que STL (números de 32 bits) no puede guardar; OBJ, STEP e IGES sí</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no es finita en esta superficie (sus valores desbordan los números)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no es finita en esta superficie (una división por cero)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no se puede calcular en esta superficie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie; sus pesos son demasiado pequeños (el mayor es %1): multiplicarlos todos por un mismo número no cambia la superficie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie; la superficie es muy pequeña (su caja mide %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se puede hacer el mapa: la curvatura no se puede calcular en ningún punto visible de esta superficie (es singular o no tiene derivadas exactas allí)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ese punto debe de ser umbilical y no encuentro direcciones principales distinguidas</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>limón</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>estrella</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>monstar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>degenerado</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Octante de esfera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Semiesfera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Elipsoide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cilindro exacto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sombreado</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Curvatura de Gauss (K)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Curvatura media (H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Curvatura principal máxima (k1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Curvatura principal mínima (k2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Curvatura absoluta máxima (max |k|)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Escala fija</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Escala automática</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
