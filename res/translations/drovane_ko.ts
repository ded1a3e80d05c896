<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR" sourcelanguage="en_US">
<context>
    <name>Drovane</name>
    <message>
        <source>Mosquito Repeller v1.0</source>
        <translation>모기 퇴치용 프로그램 v1.0</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>시작</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>멈춤</translation>
    </message>
    <message>
        <source>Details&gt;&gt;</source>
        <translation>상세보기&gt;&gt;</translation>
    </message>
    <message>
        <source>Details &gt;&gt;</source>
        <translation>상세보기 &gt;&gt;</translation>
    </message>
    <message>
        <source>Less &lt;&lt;</source>
        <translation>작게보기 &lt;&lt;</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>기본값</translation>
    </message>
    <message>
        <source>Test Sound</source>
        <translation>사운드 테스트</translation>
    </message>
    <message>
        <source>Stop Test</source>
        <translation>사운드 멈춤</translation>
    </message>
    <message>
        <source>This free mosquito repeller is offered by Corvell, the portal for documents and forms.</source>
        <translation>본 프로그램은 모기퇴치용 무료 프로그램으로 문서/서식 포탈사이트 코르벨에서 제공합니다.</translation>
    </message>
    <message>
        <source>Sound settings</source>
        <translation>사운드 설정</translation>
    </message>
    <message>
        <source>Speaker test</source>
        <translation>컴퓨터 사운드 테스트</translation>
    </message>
    <message>
        <source>Start at logon</source>
        <translation>시작 시 실행하기</translation>
    </message>
    <message>
        <source>sweep playing</source>
        <translation>스윕 재생 중</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>정지됨</translation>
    </message>
    <message>
        <source>test sound playing</source>
        <translation>사운드 테스트 재생 중</translation>
    </message>
</context>
</TS>
