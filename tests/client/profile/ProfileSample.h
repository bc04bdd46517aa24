#pragma once
// A profile document as the server sends it.
inline constexpr const char* kProfileSample = R"(<Profile>
<Object Class="com.velmar.orvane.data.User" Name="user">
  <Object Class="java.lang.String" Name="myHandle">ann</Object>
  <Object Class="com.velmar.orvane.data.Name" Name="other" isPrivateFlag="false">
    <Object Class="java.lang.String" Name="myFirst">Ann</Object>
    <Object Class="java.lang.String" Name="myMiddle">Q</Object>
    <Object Class="java.lang.String" Name="MYLAST">Lee &amp; Co</Object>
  </Object>
  <Object Class="com.velmar.orvane.data.Email" isPrivateFlag="TRUE">
    <Object Class="java.lang.String" Name="myAddress">ann@x.org</Object>
  </Object>
  <Object Class="com.velmar.orvane.data.Address" isPrivateFlag="yes">
    <Object Name="addr1">1 Main St</Object>
    <Object Name="city">Springfield</Object>
    <Object Name="state">IL</Object>
  </Object>
  <Object Class="com.velmar.orvane.data.Address" isPrivateFlag="false">
    <Object Name="addr1">2 Other St</Object>
  </Object>
  <Object Class="com.velmar.orvane.data.Code" Name="mySex" myID="2" isPrivateFlag="true"/>
  <Object Class="com.velmar.orvane.data.Code" Name="myMaritalStatus" myID=" 3x"/>
  <Object Class="com.velmar.orvane.data.Url" Name="myPictureUrl">
    <Object Class="java.lang.String" Name="myAddress">http://p/ann.jpg</Object>
  </Object>
  <Object Class="java.util.Vector" Name="myHomepages">
    <Object Class="com.velmar.orvane.data.Url">
      <Object Class="java.lang.String" Name="myAddress">http://ann.example/</Object>
      <Object Class="java.lang.String" Name="myDescription">Home</Object>
    </Object>
  </Object>
  <Object Class="java.util.Hashtable" Name="myLoveList">
    <Item>
      <Key><Object Class="java.lang.String">Artist</Object></Key>
      <Value><Object Class="java.util.Vector">
        <Object Class="java.lang.String">Miles</Object>
        <Object Class="java.lang.String">Nina</Object>
      </Object></Value>
    </Item>
    <Item>
      <Key><Object Class="java.lang.String">Color</Object></Key>
      <Value><Object Class="java.util.Vector"><Object Class="java.lang.String">blue</Object></Object></Value>
    </Item>
    <Item>
      <Key><Object Class="java.lang.String">Color</Object></Key>
      <Value><Object Class="java.util.Vector"><Object Class="java.lang.String">red</Object></Object></Value>
    </Item>
  </Object>
  <Object Class="java.util.Hashtable" Name="myHateList"/>
</Object>
</Profile>
)";
